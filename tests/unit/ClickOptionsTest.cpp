#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

#include "settings/ClickOptions.h"

namespace luma {
namespace {

struct OneValue : Settings {
  std::map<std::string, std::int32_t> values;
  std::int32_t ReadInteger(const std::string& name, std::int32_t fallback) override {
    return values.count(name) ? values[name] : fallback;
  }
  bool ReadBool(const std::string&, bool fallback) override { return fallback; }
  bool WriteInteger(const std::string&, std::int32_t) override { return false; }
  bool WriteBool(const std::string&, bool) override { return false; }
};

TEST(ClickOptionsTest, AHandEditedHoverTimeIsHeldToItsRangeAndNoneIsOneSecond) {
  OneValue missing;
  EXPECT_EQ(HoverTimeToUse(missing), 1000);
  // (stored, used)
  for (const auto& [stored, used] : {std::pair{0, 1000},
                                     {-1, 1000},
                                     {INT_MIN, 1000},
                                     {1, 300},
                                     {299, 300},
                                     {750, 750},
                                     {5000, 5000},
                                     {INT_MAX, 5000}}) {
    OneValue settings;
    settings.values[kHoverTimeValue] = stored;
    EXPECT_EQ(HoverTimeToUse(settings), used) << stored;
  }
}

}  // namespace
}  // namespace luma
