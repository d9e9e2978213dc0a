#include <gtest/gtest.h>

#include <vector>

#include "Fakes.h"
#include "keyboard/BusyCursor.h"

namespace luma {
namespace {

TEST(BusyCursor, CountsNestingAndNeverGoesNegative) {
  fakes::FakeCursor cursor;
  BusyCursor busy(cursor);

  busy.Begin();
  busy.Begin();
  EXPECT_EQ(busy.Depth(), 2);
  busy.End();
  EXPECT_EQ(busy.Depth(), 1);
  EXPECT_EQ(cursor.changes, (std::vector<bool>{true, true}));  // still busy
  busy.End();
  EXPECT_EQ(busy.Depth(), 0);
  EXPECT_EQ(cursor.changes.back(), false);

  cursor.changes.clear();
  busy.End();
  EXPECT_EQ(busy.Depth(), 0);
  EXPECT_EQ(cursor.changes, std::vector<bool>{false});

  busy.Begin();
  busy.Begin();
  busy.Begin();
  busy.EndAll();
  EXPECT_EQ(busy.Depth(), 0);
  EXPECT_EQ(cursor.changes.back(), false);
}

}  // namespace
}  // namespace luma
