#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "SettingsFakes.h"
#include "settings/ClickOptions.h"

namespace luma {
namespace {

TEST(ClickOptionsTest, AHandEditedHoverTimeIsHeldToItsRangeAndNoneIsOneSecond) {
  fakes::MemorySettings missing;
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
    fakes::MemorySettings settings;
    settings.values[kHoverTimeValue] = stored;
    EXPECT_EQ(HoverTimeToUse(settings), used) << stored;
  }
}

}  // namespace
}  // namespace luma
