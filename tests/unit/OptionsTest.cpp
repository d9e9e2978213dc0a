// The options as one value over a map of stored numbers: the defaults, how
// hand-edited or damaged values read, and what each choice writes.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "settings/Options.h"

namespace luma {
namespace {

using Lines = std::vector<std::string>;

struct StoredNumbers : Settings {
  std::map<std::string, std::int32_t> values;
  Lines writes;
  bool writable = true;
  std::int32_t ReadInteger(const std::string& name, std::int32_t fallback) override {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
  }
  bool ReadBool(const std::string& name, bool fallback) override {
    return ReadInteger(name, fallback ? 1 : 0) != 0;
  }
  bool WriteInteger(const std::string& name, std::int32_t value) override {
    if (!writable) return false;
    writes.push_back(name + "=" + std::to_string(value));
    values[name] = value;
    return true;
  }
  bool WriteBool(const std::string& name, bool value) override {
    return WriteInteger(name, value ? 1 : 0);
  }
};

// Key repeat, hover click, hover time, click sound, full keyboard, word
// prediction, learning words.
std::string Described(const Options& o) {
  return std::string(o.keyRepeat ? "repeat" : "once") + (o.hoverClick ? " hover " : " press ") +
         std::to_string(o.hoverTimeMs) + (o.clickSound ? " sound" : " quiet") +
         (o.keyboard == KeyboardChoice::kFull ? " full" : " standard") +
         (o.prediction ? " predict" : " plain") + (o.learnWords ? " learn" : " forget");
}

TEST(OptionsTest, StoredValuesReadAsOneAndDamagedOnesAsTheirDefault) {
  const struct {
    const char* name;
    std::optional<std::int32_t> stored;
    const char* read;
  } rows[] = {
      {"none", std::nullopt, "repeat press 1000 quiet standard plain learn"},
      {"AutoClick", 0, "once press 1000 quiet standard plain learn"},
      {"AutoClick", 5, "repeat press 1000 quiet standard plain learn"},
      {"HoverClick", 1, "repeat hover 1000 quiet standard plain learn"},
      {"HoverClick", -1, "repeat hover 1000 quiet standard plain learn"},
      {"ClickSound", 1, "repeat press 1000 sound standard plain learn"},
      // A hover time of none is the default; any other is held to 300..5000.
      {"HoverTime", 0, "repeat press 1000 quiet standard plain learn"},
      {"HoverTime", -1, "repeat press 1000 quiet standard plain learn"},
      {"HoverTime", INT_MIN, "repeat press 1000 quiet standard plain learn"},
      {"HoverTime", 1, "repeat press 300 quiet standard plain learn"},
      {"HoverTime", 299, "repeat press 300 quiet standard plain learn"},
      {"HoverTime", 750, "repeat press 750 quiet standard plain learn"},
      {"HoverTime", 5000, "repeat press 5000 quiet standard plain learn"},
      {"HoverTime", INT_MAX, "repeat press 5000 quiet standard plain learn"},
      // The full keyboard only for its own number.
      {"Keyboard", 0, "repeat press 1000 quiet standard plain learn"},
      {"Keyboard", 1, "repeat press 1000 quiet full plain learn"},
      {"Keyboard", 2, "repeat press 1000 quiet standard plain learn"},
      {"Keyboard", -1, "repeat press 1000 quiet standard plain learn"},
      {"Keyboard", INT_MIN, "repeat press 1000 quiet standard plain learn"},
      {"Keyboard", INT_MAX, "repeat press 1000 quiet standard plain learn"},
      // Prediction is off and learning on until a stored value says otherwise.
      {"Prediction", 0, "repeat press 1000 quiet standard plain learn"},
      {"Prediction", 1, "repeat press 1000 quiet standard predict learn"},
      {"Prediction", -7, "repeat press 1000 quiet standard predict learn"},
      {"LearnWords", 0, "repeat press 1000 quiet standard plain forget"},
      {"LearnWords", 1, "repeat press 1000 quiet standard plain learn"},
      {"LearnWords", INT_MIN, "repeat press 1000 quiet standard plain learn"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.name) + " " + std::to_string(r.stored.value_or(12345)));
    StoredNumbers settings;
    if (r.stored) settings.values[r.name] = *r.stored;
    EXPECT_EQ(Described(ReadOptions(settings)), r.read);
    EXPECT_TRUE(settings.writes.empty()) << "nothing is rewritten on reading";
  }
  EXPECT_EQ(Described(Options{}), rows[0].read);
}

TEST(OptionsTest, EachChoiceWritesItsOwnValueOnlyAndTheNextReadHasIt) {
  Options chosen;
  chosen.keyRepeat = false;
  chosen.hoverClick = true;
  chosen.hoverTimeMs = 1500;
  chosen.clickSound = true;
  chosen.keyboard = KeyboardChoice::kFull;
  chosen.prediction = true;
  chosen.learnWords = false;
  const struct {
    Option option;
    const char* written;
  } rows[] = {{Option::kKeyRepeat, "AutoClick=0"},    {Option::kHoverClick, "HoverClick=1"},
              {Option::kHoverTime, "HoverTime=1500"}, {Option::kClickSound, "ClickSound=1"},
              {Option::kKeyboard, "Keyboard=1"},      {Option::kPrediction, "Prediction=1"},
              {Option::kLearnWords, "LearnWords=0"}};
  StoredNumbers settings;
  for (const auto& r : rows) {
    EXPECT_TRUE(WriteOption(settings, chosen, r.option));
    EXPECT_EQ(settings.writes.back(), r.written);
  }
  EXPECT_EQ(settings.writes.size(), std::size(rows));
  EXPECT_EQ(Described(ReadOptions(settings)), Described(chosen));

  settings.writable = false;
  EXPECT_FALSE(WriteOption(settings, Options{}, Option::kKeyboard));
  EXPECT_EQ(Described(ReadOptions(settings)), Described(chosen));
}

}  // namespace
}  // namespace luma
