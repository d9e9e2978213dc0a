// The window's design lengths at 100, 125, 150 and 200 %: what is scaled,
// how it rounds, and that 100 % stays exactly as designed.
#include <gtest/gtest.h>

#include <climits>

#include "keyboard/KeyFonts.h"
#include "placement/Dpi.h"
#include "placement/SliderRect.h"
#include "placement/WorkArea.h"

namespace luma {
namespace {

TEST(DpiScaling, DesignLengthsAtEachScale) {
  // Rows from the design: client area 441 x 181, slider 62 x 24, snap 10;
  // 790 x 271 is the size the window is created with before the layout.
  struct Row {
    std::int32_t dpi;
    std::int32_t clientW, clientH, sliderW, sliderH, snap, createW, createH;
  } rows[] = {
      {96, 441, 181, 62, 24, 10, 790, 271},
      {120, 551, 226, 78, 30, 13, 988, 339},  // 12.5 rounds up to 13
      {144, 662, 272, 93, 36, 15, 1185, 407},
      {192, 882, 362, 124, 48, 20, 1580, 542},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.dpi);
    const std::int32_t design[] = {441, 181, 62, 24, 10, 790, 271};
    const std::int32_t expected[] = {r.clientW, r.clientH, r.sliderW, r.sliderH,
                                     r.snap,    r.createW, r.createH};
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(ScaleForDpi(design[i], r.dpi), expected[i]) << design[i];
      // Back to design pixels, nothing is lost.
      EXPECT_EQ(UnscaleFromDpi(expected[i], r.dpi), design[i]) << design[i];
    }
  }
}

TEST(DpiScaling, RoundsHalvesAwayFromZeroAndSurvivesBadInput) {
  EXPECT_EQ(ScaleForDpi(1, 144), 2);    // 1.5
  EXPECT_EQ(ScaleForDpi(-1, 144), -2);  // as MulDiv, symmetric
  EXPECT_EQ(ScaleForDpi(3, 120), 4);    // 3.75
  EXPECT_EQ(ScaleForDpi(5, 120), 6);    // 6.25
  EXPECT_EQ(ScaleForDpi(-5, 120), -6);
  EXPECT_EQ(UnscaleFromDpi(45, 144), 30);
  EXPECT_EQ(UnscaleFromDpi(38, 120), 30);  // 30.4
  // No DPI or a negative one: taken as 96.
  EXPECT_EQ(ScaleForDpi(441, 0), 441);
  EXPECT_EQ(UnscaleFromDpi(441, -144), 441);
  EXPECT_EQ(ScaleForDpi(INT32_MAX, 192), INT32_MAX);
  EXPECT_EQ(ScaleForDpi(INT32_MIN, 192), INT32_MIN);
  EXPECT_EQ(UnscaleFromDpi(INT32_MIN, 1), INT32_MIN);
}

TEST(DpiScaling, SnapDistanceFollowsTheWindowsDpi) {
  // A pure move toward the left edge of the work area, d pixels away.
  const auto snapsAt = [](std::int32_t d, std::int32_t dpi) {
    WindowPosRequest request;
    request.current = {500, 500, 662, 272};
    request.x = d;
    request.y = 300;
    request.width = 662;
    request.height = 272;
    request.primaryWorkArea = request.monitorWorkArea = {0, 0, 1920, 1040};
    request.dpi = dpi;
    return DecideWindowPos(request).x == 0;
  };
  // (dpi, farthest distance that snaps)
  for (const auto& [dpi, farthest] : {std::pair{96, 9}, {120, 12}, {144, 14}, {192, 19}}) {
    EXPECT_TRUE(snapsAt(farthest, dpi)) << dpi;
    EXPECT_FALSE(snapsAt(farthest + 1, dpi)) << dpi;
  }
}

TEST(DpiScaling, ASuggestedRectangleIsNeitherSnappedNorFollowed) {
  // The primary work area shrank from 1080 to 1040 high and the window stood
  // on the old bottom edge: a normal move would follow and snap.
  WindowPosRequest request;
  request.current = {500, 780, 441, 300};
  request.x = 4;
  request.y = 770;
  request.width = 441;
  request.height = 300;
  request.primaryWorkArea = request.monitorWorkArea = {0, 0, 1920, 1040};
  request.monitor = 7;
  request.memory = {1920, 1080, 7};
  request.dpi = 144;
  const WindowPosAnswer moved = DecideWindowPos(request);
  EXPECT_EQ((Point{moved.x, moved.y}), (Point{0, 740}));

  request.keepProposed = true;
  const WindowPosAnswer kept = DecideWindowPos(request);
  EXPECT_EQ((Point{kept.x, kept.y}), (Point{4, 770}));
  EXPECT_FALSE(kept.clearNoMove);
  EXPECT_EQ(kept.memory.height, 1040);  // the next message does not follow again
}

TEST(DpiScaling, SliderAndLabelsGrowWithTheKeys) {
  // The built-in layout at each scale: right Shift 60 x 30 design pixels,
  // space bar 30 high, Escape 30 x 30. Labels stay 10 and 8 points, which GDI
  // draws at the DPI: 1.5 times as tall at 150 %.
  struct Row {
    std::int32_t dpi, width, height, shift, space;
    Rect slider;
  } rows[] = {
      {96, 441, 181, 60, 30, {381, 157, 441, 181}},
      {120, 551, 226, 75, 38, {476, 196, 551, 226}},
      {144, 662, 272, 90, 45, {572, 236, 662, 272}},
      {192, 882, 362, 120, 60, {762, 314, 882, 362}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.dpi);
    EXPECT_EQ(SliderRect(r.width, r.height, r.shift, r.space, r.dpi), r.slider);
    const std::int32_t escape = ScaleForDpi(30, r.dpi);
    EXPECT_EQ(FitKeyFontSizes(escape, escape, r.dpi), (KeyFontSizes{10, 8}));
  }
  // A window stretched at 150 % still fits its fonts to the keys.
  EXPECT_EQ(FitKeyFontSizes(81, 68, 144), (KeyFontSizes{18, 16}));
}

}  // namespace
}  // namespace luma
