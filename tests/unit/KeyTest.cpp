#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "KeyboardHarness.h"
#include "keyboard/Key.h"
#include "theme/Theme.h"

namespace luma {
namespace {

using test::Corners;
using test::KeyboardHarness;

class KeyTest : public ::testing::Test {
 protected:
  // Geometry alone: keys do not paint themselves while painting is off.
  void SetUp() override { h.kb.Picture().SetPaintingEnabled(false); }

  KeyboardHarness h;

  static bool Hits(const Key& key, std::int32_t x, std::int32_t y) {
    bool part = false;
    return key.HitTest(x, y, part);
  }
};

TEST_F(KeyTest, CreateSetsCodePlaceStatesAndExtended) {
  Key del(h.kb, 46, {0, 0, 10, 10}, h.Work());
  EXPECT_EQ(del.Code(), 46);
  EXPECT_EQ(del.OutlineOwner(), &del);
  EXPECT_FALSE(del.IsDown());
  EXPECT_FALSE(del.IsHot());
  EXPECT_TRUE(del.SendsExtended());
  Key a(h.kb, 65, {}, h.Work());
  EXPECT_FALSE(a.SendsExtended());
  EXPECT_TRUE(a.IsRemappableKey());
  EXPECT_FALSE(a.IsStateKey());
  Key shift(h.kb, 160, {}, h.Work());
  EXPECT_TRUE(shift.IsModifierKey());
  EXPECT_TRUE(shift.IsStateKey());
  EXPECT_FALSE(shift.IsRemappableKey());
}

TEST_F(KeyTest, OutlinesThatAreNeverHitAndHaveNoExtent) {
  std::vector<std::int32_t> tooLong;
  for (int i = 0; i < 256; ++i) {  // 256 points: an 8-bit count would wrap to 0
    tooLong.push_back(i);
    tooLong.push_back(i);
  }
  std::vector<std::int32_t> wraps;  // 300 points: would wrap to 44 stray points
  for (int i = 0; i < 300; ++i) {
    wraps.push_back(i % 2 ? 0 : 100);
    wraps.push_back(i % 3 ? 0 : 100);
  }
  const std::vector<std::vector<std::int32_t>> lists = {
      {}, {0, 0, 10, 10, 20}, {5, 5}, tooLong, wraps};
  for (const auto& values : lists) {
    Key key(h.kb, 65, values, h.Work());
    const std::size_t expected = values.size() == 2 ? 1 : 0;
    EXPECT_EQ(key.Points().size(), expected) << values.size();
    key.ScaleOutline(2.0L, 2.0L);
    EXPECT_EQ(key.Points().size(), expected) << "no design points beyond the outline";
    EXPECT_EQ(key.OutlineWidth(), 0);
    EXPECT_EQ(key.OutlineHeight(), 0);
    for (std::int32_t x = -1; x <= 101; ++x)
      for (std::int32_t y : {-1, 0, 5, 50, 100})
        ASSERT_FALSE(Hits(key, x, y)) << values.size() << " at " << x << "," << y;
  }
}

TEST_F(KeyTest, TheLongestOutlineIs255Points) {
  std::vector<std::int32_t> values;
  for (int i = 0; i < 255; ++i) {
    values.push_back(i);
    values.push_back(2 * i);
  }
  Key key(h.kb, 65, values, h.Work());
  EXPECT_EQ(key.PointCount(), 255);
  EXPECT_EQ(key.Points().back(), (Point{254, 508}));
  key.ScaleOutline(2.0L, 0.5L);
  EXPECT_EQ(key.Points().back(), (Point{508, 254})) << "every point has its design point";
}

TEST_F(KeyTest, SetOutlineReplacesAndAnOddListEmpties) {
  Key key(h.kb, 65, {1, 2, 3, 4, 5, 6}, h.Work());
  EXPECT_EQ(key.Points(), (std::vector<Point>{{1, 2}, {3, 4}, {5, 6}}));
  key.SetOutline({7, 8, 9, 10});
  key.ScaleOutline(2.0L, 2.0L);
  EXPECT_EQ(key.Points(), (std::vector<Point>{{14, 16}, {18, 20}}))
      << "scaled from the new outline";
  key.SetOutline({1, 2, 3});
  EXPECT_TRUE(key.Points().empty());
  key.ScaleOutline(1.0L, 1.0L);
  EXPECT_TRUE(key.Points().empty());
}

struct HitRow {
  std::int32_t x, y;
  bool hit;
};

TEST_F(KeyTest, PolygonRectangleOwnsLeftAndBottomEdgesOnly) {
  // The built-in Escape key at design size.
  Key esc(h.kb, 27, {0, 30, 30, 30, 30, 0, 0, 0}, h.Work());
  const std::vector<HitRow> rows = {
      {0, 1, true},    {29, 30, true},  {0, 30, true},   {15, 15, true},
      {0, 0, false},   {15, 0, false},  {30, 15, false}, {29, 0, false},
      {-1, 15, false}, {15, 31, false}, {30, 30, false},
  };
  for (const auto& r : rows) EXPECT_EQ(Hits(esc, r.x, r.y), r.hit) << r.x << "," << r.y;
}

TEST_F(KeyTest, TwoPointRectangleIsInclusiveOnAllEdges) {
  Key key(h.kb, 65, {10, 10, 20, 20}, h.Work());
  const std::vector<HitRow> rows = {
      {10, 10, true}, {20, 20, true},  {10, 20, true}, {20, 10, true},  {15, 15, true},
      {9, 15, false}, {21, 15, false}, {15, 9, false}, {15, 21, false},
  };
  for (const auto& r : rows) EXPECT_EQ(Hits(key, r.x, r.y), r.hit) << r.x << "," << r.y;
}

TEST_F(KeyTest, TwoPartOutlineReportsWhichPartWasHit) {
  Key key(h.kb, 13, {0, 20, 20, 20, 20, 0, 0, 0, -1, -1, 40, 20, 60, 20, 60, 0, 40, 0}, h.Work());
  bool part = true;
  EXPECT_TRUE(key.HitTest(10, 10, part));
  EXPECT_FALSE(part);
  part = false;
  EXPECT_TRUE(key.HitTest(50, 10, part));
  EXPECT_TRUE(part);
  EXPECT_FALSE(key.HitTest(30, 10, part));
  // The separator is not a corner of either part.
  EXPECT_FALSE(key.HitTest(-1, -1, part));
  EXPECT_EQ(key.OutlineWidth(), 60);
  EXPECT_EQ(key.OutlineHeight(), 20);
}

TEST_F(KeyTest, NoSecondPartIsHitWithoutSeparator) {
  Key del(h.kb, 46, {0, 0, 10, 10}, h.Work());
  bool part = true;
  EXPECT_TRUE(del.HitTest(5, 5, part));
  EXPECT_FALSE(part);
  part = true;
  EXPECT_FALSE(del.HitTest(50, 50, part));
  EXPECT_FALSE(part);
  EXPECT_TRUE(del.SendsExtended()) << "Delete is sent extended whatever was hit";
}

TEST_F(KeyTest, HitTestUsesThePlacesOutline) {
  Key z(h.kb, 90, {0, 0, 10, 10}, h.Work());
  Key y(h.kb, 89, {20, 0, 30, 10}, h.Work());
  z.SetOutlineOwner(&y);
  EXPECT_TRUE(Hits(z, 25, 5));
  EXPECT_FALSE(Hits(z, 5, 5));
  z.SetOutlineOwner(nullptr);
  EXPECT_FALSE(Hits(z, 25, 5));
  EXPECT_FALSE(Hits(z, 5, 5));
}

TEST_F(KeyTest, FarOutCoordinatesDoNotOverflowTheCrossingTest) {
  // A triangle whose slanted edges make the edge product far exceed 32 bits.
  const std::int32_t big = 2000000000;
  Key key(h.kb, 65, {-big, big, big, big, 0, -big}, h.Work());
  EXPECT_TRUE(Hits(key, 0, 0));
  EXPECT_TRUE(Hits(key, big / 2 - 10, 0));
  EXPECT_FALSE(Hits(key, big / 2 + 10, 0));
  EXPECT_FALSE(Hits(key, -big / 2 - 10, 0));
  EXPECT_EQ(key.OutlineWidth(), std::numeric_limits<std::int32_t>::max());  // held, not wrapped

  // Found by fuzzing the layout loader: edges spanning the whole range make
  // the edge product exceed 64 bits.
  const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  const std::int32_t hi = std::numeric_limits<std::int32_t>::max();
  Key wide(h.kb, 65, {lo, -214748, hi, hi, lo, hi}, h.Work());
  EXPECT_TRUE(Hits(wide, 0, hi - 10));
  EXPECT_FALSE(Hits(wide, 0, 0));
  EXPECT_FALSE(Hits(wide, hi - 10, hi - 100));
  EXPECT_TRUE(Hits(wide, hi - 1000, hi - 10));
  EXPECT_TRUE(Hits(wide, lo + 10, hi - 10));
}

TEST_F(KeyTest, ExtentsOfPolygonAndTwoPointOutlines) {
  Key poly(h.kb, 65, {5, 40, 25, 40, 35, 10, 5, 10}, h.Work());
  EXPECT_EQ(poly.OutlineWidth(), 30);
  EXPECT_EQ(poly.OutlineHeight(), 30);
  // Two points: no absolute value is taken.
  Key reversed(h.kb, 65, {20, 30, 10, 10}, h.Work());
  EXPECT_EQ(reversed.OutlineWidth(), -10);
  EXPECT_EQ(reversed.OutlineHeight(), -20);
}

TEST_F(KeyTest, ScalingRoundsUpInExtendedPrecisionFromDesignPoints) {
  Key esc(h.kb, 27, {0, 30, 30, 30, 30, 0, 0, 0}, h.Work());
  esc.ScaleOutline(790.0L / 441.0L, 271.0L / 181.0L);
  EXPECT_EQ(esc.Points(), (std::vector<Point>{{0, 45}, {54, 45}, {54, 0}, {0, 0}}));

  // 469/441 rounded to 64 bits of mantissa makes 315 x factor a hair above
  // 335, so the ceiling is 336.
  Key altGr(h.kb, 165, {275, 180, 315, 180, 315, 150, 275, 150}, h.Work());
  altGr.ScaleOutline(469.0L / 441.0L, 1.0L);
  EXPECT_EQ(altGr.Points()[1].x, 336);
  EXPECT_EQ(altGr.Points()[0].y, 180);

  // Back to the design size: nothing accumulated.
  esc.ScaleOutline(1.0L, 1.0L);
  EXPECT_EQ(esc.Points(), Corners(0, 0, 30, 30));
}

TEST_F(KeyTest, SeparatorSurvivesAnyNumberOfRescales) {
  Key key(h.kb, 13, {0, 20, 20, 20, 20, 0, -1, -1, 40, 20, 60, 20, 60, 0}, h.Work());
  for (long double k : {2.0L, 0.5L, 3.7L, 1.0L / 3.0L, 0.0L}) {
    key.ScaleOutline(k, k);
    EXPECT_EQ(key.Points()[3], kOutlineSeparator);
  }
  key.ScaleOutline(2.0L, 3.0L);
  EXPECT_EQ(key.Points()[4], (Point{80, 60}));
}

TEST_F(KeyTest, ACornerScaledOntoMinusOneFollowsTheNextRescale) {
  Key key(h.kb, 65, {-2, -2, 10, 10, 0, 10}, h.Work());
  key.ScaleOutline(0.5L, 0.5L);
  EXPECT_EQ(key.Points()[0], (Point{-1, -1}));
  key.ScaleOutline(1.0L, 1.0L);
  EXPECT_EQ(key.Points()[0], (Point{-2, -2}));
}

TEST_F(KeyTest, ScalingByANonFiniteFactorStaysInRange) {
  Key key(h.kb, 65, {0, 30, 30, 30, 30, 0}, h.Work());
  const long double inf = std::numeric_limits<long double>::infinity();
  key.ScaleOutline(inf, std::numeric_limits<long double>::quiet_NaN());
  EXPECT_EQ(key.Points()[1], (Point{std::numeric_limits<std::int32_t>::max(), 0}));
  EXPECT_EQ(key.Points()[0].x, 0);  // 0 x inf is NaN: held at 0
}

// Down changes reach the model once per actual change: Caps Lock toggles
// only when it goes down, and a state key redraws (one copy to the screen).
TEST_F(KeyTest, SetDownTwiceChangesStateAndRedrawsOnce) {
  h.kb.Picture().SetPaintingEnabled(true);
  Key caps(h.kb, 20, {0, 0, 10, 10}, h.Work());
  h.ForgetCalls();
  caps.SetDown(true);
  caps.SetDown(true);
  EXPECT_TRUE(caps.IsDown());
  EXPECT_EQ(h.kb.KeyStateEntry(20), 1);
  EXPECT_EQ(h.screen.copies.size(), 1u);
  caps.SetDown(false);
  caps.SetDown(false);
  EXPECT_EQ(h.kb.KeyStateEntry(20), 1);
  EXPECT_EQ(h.screen.copies.size(), 2u);
}

TEST(KeyHot, SetHotRepaintsEvenWhenUnchanged) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.theme.KeyFontLarge.Size = 10;
  Key& a = *h.kb.KeyFor(65);
  a.SetHot(true);
  h.ForgetCalls();
  a.SetHot(true);
  EXPECT_TRUE(a.IsHot());
  EXPECT_EQ(h.Work().Count(fakes::DrawCall::kText), 1u);
  h.kb.Picture().SetPaintingEnabled(false);
  h.ForgetCalls();
  a.SetHot(false);
  EXPECT_FALSE(a.IsHot());
  EXPECT_TRUE(h.Work().calls.empty());
}

}  // namespace
}  // namespace luma
