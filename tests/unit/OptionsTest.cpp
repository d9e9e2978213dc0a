// The options as one value over a map of stored numbers: the defaults, how
// hand-edited or damaged values read, and what each choice writes.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/Options.h"

namespace luma {
namespace {

using Lines = std::vector<std::string>;
using Numbers = std::map<std::string, std::int32_t>;

struct StoredNumbers : Settings {
  Numbers values;
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

// Every member as a number, under the name it is stored by.
Numbers AsNumbers(const Options& o) {
  return {{"AutoClick", o.keyRepeat},
          {"HoverClick", o.hoverClick},
          {"HoverTime", o.hoverTimeMs},
          {"ClickSound", o.clickSound},
          {"Keyboard", static_cast<std::int32_t>(o.keyboard)},
          {"Prediction", o.prediction},
          {"LearnWords", o.learnWords},
          {"ScanKeys", o.scanKeys},
          {"ScanTime", o.scanTimeMs},
          {"ScanMode", static_cast<std::int32_t>(o.scanMode)},
          {"ScanRestart", static_cast<std::int32_t>(o.scanRestart)},
          {"ScanLockout", o.scanLockoutMs},
          {"ScanAccept", o.scanAcceptMs},
          {"ScanSwitchKey", o.scanSwitchKey},
          {"ScanNextKey", o.scanNextKey},
          {"ScanClickSwitch", o.scanClickSwitch}};
}

const Numbers kDefaults = {
    {"AutoClick", 1},   {"HoverClick", 0},     {"HoverTime", 1000}, {"ClickSound", 0},
    {"Keyboard", 0},    {"Prediction", 0},     {"LearnWords", 1},   {"ScanKeys", 0},
    {"ScanTime", 1000}, {"ScanMode", 0},       {"ScanRestart", 0},  {"ScanLockout", 250},
    {"ScanAccept", 0},  {"ScanSwitchKey", 32}, {"ScanNextKey", 13}, {"ScanClickSwitch", 0}};

// One stored value, read as a number; every other member keeps its default.
// A hover or scan time of none is the default, any other held to 300..5000;
// the lockout and acceptance are held to their ranges; another keyboard,
// mode, restart or key number is the default.
TEST(OptionsTest, StoredValuesReadAsOneAndDamagedOnesAsTheirDefault) {
  EXPECT_EQ(AsNumbers(Options{}), kDefaults);
  StoredNumbers nothing;
  EXPECT_EQ(AsNumbers(ReadOptions(nothing)), kDefaults);
  EXPECT_TRUE(nothing.writes.empty());
  const struct {
    const char* name;
    std::vector<std::pair<std::int32_t, std::int32_t>> storedAndRead;
  } rows[] = {
      {"AutoClick", {{0, 0}, {5, 1}}},
      {"HoverClick", {{-1, 1}}},
      {"ClickSound", {{1, 1}}},
      {"HoverTime",
       {{0, 1000},
        {-1, 1000},
        {INT_MIN, 1000},
        {1, 300},
        {299, 300},
        {750, 750},
        {5000, 5000},
        {INT_MAX, 5000}}},
      {"Keyboard", {{1, 1}, {2, 0}, {-1, 0}, {INT_MIN, 0}}},
      {"Prediction", {{1, 1}, {-7, 1}}},
      {"LearnWords", {{0, 0}, {INT_MIN, 1}}},
      {"ScanKeys", {{1, 1}}},
      {"ScanTime", {{0, 1000}, {299, 300}, {1500, 1500}, {INT_MAX, 5000}}},
      {"ScanMode", {{1, 1}, {2, 0}, {-1, 0}}},
      {"ScanRestart", {{1, 1}, {7, 0}}},
      {"ScanLockout", {{0, 0}, {-5, 0}, {2001, 2000}}},
      {"ScanAccept", {{400, 400}, {INT_MIN, 0}, {1001, 1000}}},
      {"ScanSwitchKey", {{0x7C, 0x7C}, {0, 32}, {255, 32}}},
      {"ScanNextKey", {{0x60, 0x60}, {-13, 13}}},
      {"ScanClickSwitch", {{1, 1}}},
  };
  for (const auto& r : rows) {
    for (const auto& [stored, read] : r.storedAndRead) {
      SCOPED_TRACE(std::string(r.name) + "=" + std::to_string(stored));
      StoredNumbers settings;
      settings.values[r.name] = stored;
      Numbers expected = kDefaults;
      expected[r.name] = read;
      EXPECT_EQ(AsNumbers(ReadOptions(settings)), expected);
      EXPECT_TRUE(settings.writes.empty()) << "nothing is rewritten on reading";
    }
  }
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
  EXPECT_EQ(AsNumbers(ReadOptions(settings)), AsNumbers(chosen));

  settings.writable = false;
  EXPECT_FALSE(WriteOption(settings, Options{}, Option::kKeyboard));
  EXPECT_EQ(AsNumbers(ReadOptions(settings)), AsNumbers(chosen));
}

}  // namespace
}  // namespace luma
