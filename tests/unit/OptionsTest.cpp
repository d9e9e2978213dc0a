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
// prediction, learning words; scanning, its time, mode, restart, lockout,
// acceptance, the two switch keys and whether a mouse press is the switch.
std::string Described(const Options& o) {
  return std::string(o.keyRepeat ? "repeat" : "once") + (o.hoverClick ? " hover " : " press ") +
         std::to_string(o.hoverTimeMs) + (o.clickSound ? " sound" : " quiet") +
         (o.keyboard == KeyboardChoice::kFull ? " full" : " standard") +
         (o.prediction ? " predict" : " plain") + (o.learnWords ? " learn" : " forget") +
         (o.scanKeys ? " scan " : " noscan ") + std::to_string(o.scanTimeMs) +
         (o.scanMode == ScanMode::kStep ? " step" : " auto") +
         (o.scanRestart == ScanRestart::kSameRow ? " same " : " top ") +
         std::to_string(o.scanLockoutMs) + " " + std::to_string(o.scanAcceptMs) + " " +
         std::to_string(o.scanSwitchKey) + " " + std::to_string(o.scanNextKey) +
         (o.scanClickSwitch ? " mouse" : " keys");
}

TEST(OptionsTest, StoredValuesReadAsOneAndDamagedOnesAsTheirDefault) {
  const struct {
    const char* name;
    std::optional<std::int32_t> stored;
    const char* read;
  } rows[] = {
      {"none", std::nullopt,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"AutoClick", 0,
       "once press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"AutoClick", 5,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverClick", 1,
       "repeat hover 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverClick", -1,
       "repeat hover 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ClickSound", 1,
       "repeat press 1000 sound standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      // A hover time of none is the default; any other is held to 300..5000.
      {"HoverTime", 0,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverTime", -1,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverTime", INT_MIN,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverTime", 1,
       "repeat press 300 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverTime", 299,
       "repeat press 300 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverTime", 750,
       "repeat press 750 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverTime", 5000,
       "repeat press 5000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"HoverTime", INT_MAX,
       "repeat press 5000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      // The full keyboard only for its own number.
      {"Keyboard", 0,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"Keyboard", 1,
       "repeat press 1000 quiet full plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"Keyboard", 2,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"Keyboard", -1,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"Keyboard", INT_MIN,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"Keyboard", INT_MAX,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      // Prediction is off and learning on until a stored value says otherwise.
      {"Prediction", 0,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"Prediction", 1,
       "repeat press 1000 quiet standard predict learn noscan 1000 auto top 250 0 32 13 keys"},
      {"Prediction", -7,
       "repeat press 1000 quiet standard predict learn noscan 1000 auto top 250 0 32 13 keys"},
      {"LearnWords", 0,
       "repeat press 1000 quiet standard plain forget noscan 1000 auto top 250 0 32 13 keys"},
      {"LearnWords", 1,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"LearnWords", INT_MIN,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      // Scanning: its time held like the hover time, lockout and acceptance
      // to their ranges; another mode, restart or key number is the default.
      {"ScanKeys", 1,
       "repeat press 1000 quiet standard plain learn scan 1000 auto top 250 0 32 13 keys"},
      {"ScanTime", 0,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ScanTime", 299,
       "repeat press 1000 quiet standard plain learn noscan 300 auto top 250 0 32 13 keys"},
      {"ScanTime", 1500,
       "repeat press 1000 quiet standard plain learn noscan 1500 auto top 250 0 32 13 keys"},
      {"ScanTime", INT_MAX,
       "repeat press 1000 quiet standard plain learn noscan 5000 auto top 250 0 32 13 keys"},
      {"ScanMode", 1,
       "repeat press 1000 quiet standard plain learn noscan 1000 step top 250 0 32 13 keys"},
      {"ScanMode", 2,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ScanMode", -1,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ScanRestart", 1,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto same 250 0 32 13 keys"},
      {"ScanRestart", 7,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ScanLockout", 0,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 0 0 32 13 keys"},
      {"ScanLockout", -5,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 0 0 32 13 keys"},
      {"ScanLockout", 2001,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 2000 0 32 13 keys"},
      {"ScanAccept", 400,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 400 32 13 keys"},
      {"ScanAccept", INT_MIN,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ScanAccept", 1001,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 1000 32 13 keys"},
      {"ScanSwitchKey", 0x7C,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 124 13 keys"},
      {"ScanSwitchKey", 0,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ScanSwitchKey", 255,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ScanNextKey", 0x60,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 96 keys"},
      {"ScanNextKey", -13,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 keys"},
      {"ScanClickSwitch", 1,
       "repeat press 1000 quiet standard plain learn noscan 1000 auto top 250 0 32 13 mouse"},
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
  chosen.scanKeys = true;
  chosen.scanTimeMs = 750;
  chosen.scanMode = ScanMode::kStep;
  chosen.scanRestart = ScanRestart::kSameRow;
  chosen.scanLockoutMs = 500;
  chosen.scanAcceptMs = 100;
  chosen.scanSwitchKey = 0x7C;
  chosen.scanNextKey = 0x7D;
  chosen.scanClickSwitch = true;
  const struct {
    Option option;
    const char* written;
  } rows[] = {
      {Option::kKeyRepeat, "AutoClick=0"},       {Option::kHoverClick, "HoverClick=1"},
      {Option::kHoverTime, "HoverTime=1500"},    {Option::kClickSound, "ClickSound=1"},
      {Option::kKeyboard, "Keyboard=1"},         {Option::kPrediction, "Prediction=1"},
      {Option::kLearnWords, "LearnWords=0"},     {Option::kScanKeys, "ScanKeys=1"},
      {Option::kScanTime, "ScanTime=750"},       {Option::kScanMode, "ScanMode=1"},
      {Option::kScanRestart, "ScanRestart=1"},   {Option::kScanLockout, "ScanLockout=500"},
      {Option::kScanAccept, "ScanAccept=100"},   {Option::kScanSwitchKey, "ScanSwitchKey=124"},
      {Option::kScanNextKey, "ScanNextKey=125"}, {Option::kScanClickSwitch, "ScanClickSwitch=1"}};
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
