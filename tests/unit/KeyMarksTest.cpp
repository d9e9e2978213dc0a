// The marks a key draws inside itself: a bar across a locked key, and along
// a hovered one a bar that grows.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "InputTimeline.h"
#include "input/HoverClick.h"

namespace luma {
namespace {

class KeyMarksTest : public test::InputTimeline {};

TEST_F(KeyMarksTest, LockedAndHoveredKeysDrawTheirMarksInsideThem) {
  fakes::RecordingBitmap& work = *parts.bitmaps.created.at(1);
  const auto lastFill = [&] {
    const auto fills = work.Of(fakes::DrawCall::kFillRect);
    return fills.empty() ? fakes::DrawCall{} : fills.back();
  };
  const auto inside = [&](int vk, const Rect& r) {
    const auto& p = keyboard->KeyFor(vk)->Points();  // bottom-left, ..., top-left
    return r.Width() > 0 && r.Height() > 0 && r.left >= p[0].x && r.right <= p[1].x &&
           r.top >= p[2].y && r.bottom <= p[0].y;
  };
  Down(kLeftShift);
  Advance(599);
  EXPECT_EQ(work.Count(fakes::DrawCall::kFillRect), 0u) << "a latched key has no bar";
  Advance(1);
  EXPECT_TRUE(inside(160, lastFill().rect));
  EXPECT_EQ(lastFill().brush, parts.theme.DownCaption);
  Up();
  std::vector<std::int32_t> widths;
  Move(kA);
  for (int step = 0; step < 9; ++step) {
    Advance(HoverClick::kStepMs);
    EXPECT_TRUE(inside(65, lastFill().rect)) << step;
    widths.push_back(lastFill().rect.Width());
  }
  EXPECT_TRUE(std::is_sorted(widths.begin(), widths.end()));
  EXPECT_LT(widths.front() * 5, widths.back());
}

}  // namespace
}  // namespace luma
