// Which codes each kind of key is.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <vector>

#include "keys/KeyKinds.h"

namespace luma {
namespace {

std::set<int> Codes(std::initializer_list<std::pair<int, int>> ranges) {
  std::set<int> out;
  for (auto [low, high] : ranges)
    for (int vk = low; vk <= high; ++vk) out.insert(vk);
  return out;
}

struct KindRow {
  const char* name;
  std::function<bool(int)> predicate;
  std::set<int> members;
};

TEST(KeyKinds, EachPredicateHoldsExactlyForItsCodes) {
  const std::vector<KindRow> rows = {
      {"IsModifierKey", IsModifierKey, Codes({{91, 92}, {160, 165}})},
      {"IsLockKey", IsLockKey, Codes({{20, 20}, {144, 145}})},
      {"IsStateKey", IsStateKey, Codes({{20, 20}, {91, 92}, {144, 145}, {160, 165}})},
      {"IsCharKey", IsCharKey, Codes({{32, 32}, {48, 90}, {96, 111}, {186, 192}, {219, 226}})},
      {"IsRemappableKey", IsRemappableKey, Codes({{48, 90}, {186, 192}, {219, 226}})},
      {"IsExtendedKey", IsExtendedKey,
       Codes({{33, 46},
              {91, 93},
              {95, 95},
              {111, 111},
              {144, 144},
              {161, 161},
              {163, 163},
              {165, 183}})},
  };
  for (const auto& row : rows)
    for (int vk = -1; vk <= 256; ++vk)
      EXPECT_EQ(row.predicate(vk), row.members.count(vk) == 1) << row.name << "(" << vk << ")";
}

}  // namespace
}  // namespace luma
