// What reaches the screen after a hover, a press or a release: the areas of
// the keys that changed, and nothing a key painted left out of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "KeyboardHarness.h"
#include "keyboard/Keyboard.h"

namespace luma {
namespace {

using fakes::DrawCall;
using test::KeyboardHarness;

// The box of every point a drawing call can touch, right and bottom edges
// included; text and transparent copies reach no further than their rect.
Rect Extent(const DrawCall& call) {
  if (call.kind == DrawCall::kPolygon) {
    Rect box{call.points[0].x, call.points[0].y, call.points[0].x, call.points[0].y};
    for (const Point& p : call.points) {
      box.left = std::min(box.left, p.x);
      box.top = std::min(box.top, p.y);
      box.right = std::max(box.right, p.x + 1);
      box.bottom = std::max(box.bottom, p.y + 1);
    }
    return box;
  }
  return call.rect;
}

}  // namespace

void PrintTo(const Rect& r, std::ostream* out) {
  *out << "(" << r.left << ", " << r.top << ")-(" << r.right << ", " << r.bottom << ")";
}

namespace {

bool Inside(const Rect& inner, const Rect& outer) {
  return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// Clipped to the image as the screen would clip it.
Rect OnImage(Rect r, const Keyboard& kb) {
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, kb.Width());
  r.bottom = std::min(r.bottom, kb.Height());
  return r;
}

struct CopyCase {
  std::string what;
  std::function<void(Keyboard&)> before;  // its copies are not counted
  std::function<void(Keyboard&)> act;
  std::vector<Rect> copies;
};

const auto kNothing = [](Keyboard&) {};

TEST(PartialCopy, EachChangeCopiesTheAreasOfTheKeysItRepainted) {
  const Rect full{0, 0, 441, 181};
  const Rect a{60, 90, 92, 122}, esc{0, 0, 32, 32};
  const std::vector<CopyCase> cases = {
      {"hover onto A", kNothing, [](Keyboard& kb) { kb.TrackPointer(75, 105); }, {a}},
      {"hover from A to its neighbour S: one copy of both",
       [](Keyboard& kb) { kb.TrackPointer(75, 105); },
       [](Keyboard& kb) { kb.TrackPointer(105, 105); },
       {{60, 90, 122, 122}}},
      {"hover from Esc to A: two copies, not the picture between",
       [](Keyboard& kb) { kb.TrackPointer(15, 15); },
       [](Keyboard& kb) { kb.TrackPointer(75, 105); },
       {esc, a}},
      {"hover onto the background: the last key alone",
       [](Keyboard& kb) { kb.TrackPointer(75, 105); },
       [](Keyboard& kb) { kb.TrackPointer(410, 165); },
       {a}},
      {"hover cleared",
       [](Keyboard& kb) { kb.TrackPointer(75, 105); },
       [](Keyboard& kb) { kb.ClearHot(true); },
       {a}},
      {"ordinary key down and up",
       kNothing,
       [](Keyboard& kb) {
         kb.KeyFor(65)->SetDown(true);
         kb.KeyFor(65)->SetDown(false);
         kb.CopyChanges();
       },
       {a}},
      {"state key: the whole picture",
       kNothing,
       [](Keyboard& kb) { kb.KeyFor(160)->SetDown(true); },
       {full}},
      {"state key after a key change: the redraw copies all, nothing is left",
       kNothing,
       [](Keyboard& kb) {
         kb.KeyFor(65)->SetDown(true);
         kb.KeyFor(160)->SetDown(true);
         kb.CopyChanges();
       },
       {full}},
      {"more apart than are worth copying one by one: their union",
       kNothing,
       [](Keyboard& kb) {
         for (int vk : {27, 120, 65, 13, 32}) kb.KeyFor(vk)->SetDown(true);
         kb.CopyChanges();
       },
       {{0, 0, 441, 181}}},
      {"nothing changed: no copy", kNothing, [](Keyboard& kb) { kb.CopyChanges(); }, {}},
      {"painting off: nothing marked, nothing copied",
       kNothing,
       [](Keyboard& kb) {
         kb.SetPaintingEnabled(false);
         kb.TrackPointer(75, 105);
         kb.CopyChanges();
       },
       {}},
  };
  for (const CopyCase& c : cases) {
    KeyboardHarness h;
    ASSERT_TRUE(h.kb.LoadLayout("Standard"));
    c.before(h.kb);
    h.ForgetCalls();
    c.act(h.kb);
    EXPECT_EQ(h.screen.copies, c.copies) << c.what;
  }
}

TEST(PartialCopy, AreasAreHeldToTheScreenAsItIsWhenCopied) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.kb.KeyFor(13)->SetDown(true);  // Enter, 390..440 wide
  h.screen.width = 400;            // the window shrank before the copy
  h.screen.copies.clear();
  h.kb.CopyChanges();
  EXPECT_EQ(h.screen.copies, (std::vector<Rect>{{390, 90, 400, 122}}));
}

// Whatever a repaint draws must reach the screen: a pixel left out stays
// stale until the next full redraw. Two-part outlines pass through their
// separator, and a down key's label moves a pixel right and down.
TEST(PartialCopy, EveryRepaintedPixelLiesInACopiedArea) {
  const std::string layout =
      "Height=100\r\nWidth=200\r\n"
      "13=20,40;40,40;40,20;20,20;-1,-1;60,40;80,40;80,20;60,20\r\n"
      "65=100,20;130,20;130,0;100,0\r\n"
      "66=10,2;18,2;18,10;10,10\r\n"  // too small for its label box
      "46=150,60;190,60;190,30;150,30\r\n";
  struct Step {
    std::string what;
    std::function<void(Keyboard&)> act;
  };
  const std::vector<Step> steps = {
      {"hover Enter's second part", [](Keyboard& kb) { kb.TrackPointer(70, 30); }},
      {"Enter down", [](Keyboard& kb) { kb.KeyFor(13)->SetDown(true); }},
      {"Enter up, hover A",
       [](Keyboard& kb) {
         kb.KeyFor(13)->SetDown(false);
         kb.TrackPointer(115, 10);
       }},
      {"A down", [](Keyboard& kb) { kb.KeyFor(65)->SetDown(true); }},
      {"tiny key down and hot",
       [](Keyboard& kb) {
         kb.KeyFor(66)->SetDown(true);
         kb.TrackPointer(14, 6);
       }},
      {"Delete down, hover cleared",
       [](Keyboard& kb) {
         kb.KeyFor(46)->SetDown(true);
         kb.ClearHot(false);
       }},
  };
  KeyboardHarness h;
  h.theme.KeyFontSmall.Size = 8;
  h.theme.KeyFontLarge.Size = 10;
  ASSERT_TRUE(h.kb.LoadLayoutText("t", layout));
  h.kb.Redraw(true);
  for (const Step& step : steps) {
    h.ForgetCalls();
    step.act(h.kb);
    h.kb.CopyChanges();
    ASSERT_FALSE(h.Work().calls.empty()) << step.what;
    for (const DrawCall& call : h.Work().calls) {
      const Rect drawn = OnImage(Extent(call), h.kb);
      const bool copied = std::any_of(h.screen.copies.begin(), h.screen.copies.end(),
                                      [&](const Rect& r) { return Inside(drawn, r); });
      EXPECT_TRUE(copied) << step.what << ": a call of kind " << call.kind << " at (" << drawn.left
                          << ", " << drawn.top << ")-(" << drawn.right << ", " << drawn.bottom
                          << ") was not copied";
    }
  }
}

}  // namespace
}  // namespace luma
