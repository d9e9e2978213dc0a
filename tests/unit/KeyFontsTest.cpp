// The caption fonts' sizes, fitted to the Escape key.
#include <gtest/gtest.h>

#include <cstdint>

#include "keyboard/KeyFonts.h"

namespace luma {
namespace {

TEST(KeyFonts, LargeFromEscapeKeySmallTwoLess) {
  struct Row {
    std::int32_t w, h;
    KeyFontSizes expected;
  } rows[] = {
      {30, 30, {10, 8}},
      {54, 45, {18, 16}},
      {60, 45, {20, 18}},
      {32, 30, {10, 8}},
      {60, 25, {15, 13}},
      {8, 30, {2, 0}},
      {9, 30, {3, 1}},
      {2, 30, {0, 0}},
      {30, 12, {2, 0}},
      {30, 5, {0, 0}},
      {0, 0, {0, 0}},
      {-30, 30, {0, 0}},
      {INT32_MAX, INT32_MAX, {0xFFFF, 0xFFFD}},
      {INT32_MIN, INT32_MIN, {0, 0}},
  };
  for (const auto& r : rows) EXPECT_EQ(FitKeyFontSizes(r.w, r.h), r.expected) << r.w << "x" << r.h;
}

}  // namespace
}  // namespace luma
