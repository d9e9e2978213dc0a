// What reaches the screen after a hover, a press or a release: the areas of
// the keys that changed, and nothing a key painted left out of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "KeyboardHarness.h"

namespace luma {

void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

using Act = std::function<void(Keyboard&)>;
const Act kNothing = [](Keyboard&) {};
Act Hover(std::int32_t x, std::int32_t y) {
  return [=](Keyboard& kb) { kb.TrackPointer(x, y); };
}
Act Down(std::vector<int> vks) {
  return [=](Keyboard& kb) {
    for (int vk : vks) kb.KeyFor(vk)->SetDown(true);
    kb.Picture().CopyChanges();
  };
}

TEST(PartialCopy, EachChangeCopiesTheAreasOfTheKeysItRepainted) {
  const Rect a{60, 90, 92, 122}, esc{0, 0, 32, 32}, full{0, 0, 441, 181};
  struct Case {
    std::string what;
    Act before, act;  // the copies of before are not counted
    std::vector<Rect> copies;
  };
  const std::vector<Case> cases = {
      {"hover onto A", kNothing, Hover(75, 105), {a}},
      {"A to its neighbour S: one copy", Hover(75, 105), Hover(105, 105), {{60, 90, 122, 122}}},
      {"Esc to A: two, not the picture between", Hover(15, 15), Hover(75, 105), {esc, a}},
      {"onto the background", Hover(75, 105), Hover(410, 165), {a}},
      {"ordinary key down", kNothing, Down({65}), {a}},
      {"a state key redraws it all", kNothing, Down({65, 160}), {full}},
      {"five apart: their union", kNothing, Down({27, 120, 65, 13, 32}), {full}},
  };
  for (const Case& c : cases) {
    test::KeyboardHarness h;
    ASSERT_TRUE(h.kb.LoadLayout("Standard"));
    c.before(h.kb);
    h.ForgetCalls();
    c.act(h.kb);
    EXPECT_EQ(h.screen.copies, c.copies) << c.what;
  }
}

// A two-part key's parts lie far apart in the full keyboard: each part is
// copied, never the picture between them.
TEST(PartialCopy, ATwoPartKeyCopiesItsPartsAlone) {
  const Rect enter{390, 90, 442, 122}, padEnter{640, 120, 671, 181};
  const Rect del{450, 60, 482, 92}, topRightDel{390, 0, 442, 32};
  struct Case {
    std::string what;
    Act before, act;
    std::vector<Rect> copies;
  };
  const std::vector<Case> cases = {
      {"hover onto Enter", kNothing, Hover(415, 105), {enter, padEnter}},
      {"hover onto the pad's Enter", kNothing, Hover(655, 150), {enter, padEnter}},
      {"hover onto Delete", kNothing, Hover(465, 75), {del, topRightDel}},
      {"Enter down", kNothing, Down({13}), {enter, padEnter}},
  };
  for (const Case& c : cases) {
    test::KeyboardHarness h;
    ASSERT_TRUE(h.kb.LoadLayout("Full"));
    h.kb.SetSize(671, 181);
    h.screen.width = 671;
    c.before(h.kb);
    h.ForgetCalls();
    c.act(h.kb);
    EXPECT_EQ(h.screen.copies, c.copies) << c.what;
    std::int64_t copied = 0;
    for (const Rect& r : h.screen.copies) copied += std::int64_t{r.Width()} * r.Height();
    EXPECT_LT(copied * 20, std::int64_t{671} * 181) << c.what << ": under 5 % of the picture";
  }
}

// A pixel painted but not copied stays stale until the next full redraw.
// A down key's label moves a pixel right and down; a tiny key's label box
// is made around its centre.
TEST(PartialCopy, EveryRepaintedPixelLiesInACopiedArea) {
  test::KeyboardHarness h;
  h.theme.KeyFontSmall.Size = 8;
  h.theme.KeyFontLarge.Size = 10;
  ASSERT_TRUE(h.kb.LoadLayoutText(
      "t",
      "Height=100\r\nWidth=200\r\n13=20,40;40,40;40,20;20,20;-1,-1;60,40;80,40;80,20;60,20\r\n"
      "65=100,20;130,20;130,0;100,0\r\n66=10,2;18,2;18,10;10,10\r\n"));
  h.kb.Picture().Redraw(true);
  for (const Act& act : {Hover(70, 30), Down({13}), Hover(115, 10), Down({65, 66}), Hover(14, 6),
                         Act([](Keyboard& kb) { kb.ClearHot(true); })}) {
    h.ForgetCalls();
    act(h.kb);
    h.kb.Picture().CopyChanges();
    for (const fakes::DrawCall& call : h.Work().calls) {
      // Text is clipped to its rect; a polygon reaches its corners.
      Rect drawn = call.rect;
      if (!call.points.empty())
        drawn = {call.points[0].x, call.points[0].y, call.points[0].x, call.points[0].y};
      for (const Point& p : call.points)
        drawn = {std::min(drawn.left, p.x), std::min(drawn.top, p.y),
                 std::max(drawn.right, p.x + 1), std::max(drawn.bottom, p.y + 1)};
      drawn.left = std::max(drawn.left, 0);
      drawn.top = std::max(drawn.top, 0);
      EXPECT_TRUE(std::any_of(h.screen.copies.begin(), h.screen.copies.end(),
                              [&](const Rect& r) {
                                return r.left <= drawn.left && r.top <= drawn.top &&
                                       drawn.right <= r.right && drawn.bottom <= r.bottom;
                              }))
          << "drawn at " << ::testing::PrintToString(drawn);
    }
  }
}

}  // namespace
}  // namespace luma
