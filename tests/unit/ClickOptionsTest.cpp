#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <optional>
#include <string>

#include "settings/ClickOptions.h"

namespace luma {
namespace {

class StoredValues : public Settings {
 public:
  std::map<std::string, std::int32_t> values;
  std::int32_t ReadInteger(const std::string& name, std::int32_t defaultValue) override {
    const auto it = values.find(name);
    return it == values.end() ? defaultValue : it->second;
  }
  bool ReadBool(const std::string& name, bool defaultValue) override {
    return ReadInteger(name, defaultValue) != 0;
  }
  bool WriteInteger(const std::string& name, std::int32_t value) override {
    values[name] = value;
    return true;
  }
  bool WriteBool(const std::string& name, bool value) override { return WriteInteger(name, value); }
};

TEST(ClickOptionsTest, AHandEditedHoverTimeIsHeldToItsRangeAndNoneMeansOneSecond) {
  const struct {
    std::optional<std::int32_t> stored;
    std::int32_t used;
  } rows[] = {{std::nullopt, 1000}, {0, 1000},  {-1, 1000}, {INT_MIN, 1000}, {1, 300},
              {299, 300},           {300, 300}, {750, 750}, {5000, 5000},    {5001, 5000},
              {INT_MAX, 5000}};
  for (const auto& r : rows) {
    StoredValues settings;
    if (r.stored) settings.values[kHoverTimeValue] = *r.stored;
    EXPECT_EQ(HoverTimeToUse(settings), r.used) << r.stored.value_or(-999);
  }
}

}  // namespace
}  // namespace luma
