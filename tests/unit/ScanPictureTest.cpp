// The scan's highlight over the keys and the row of words: what a step
// copies, what stays on top of the keys' own repaints, and its colors in
// every scheme.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "KeyboardHarness.h"
#include "scan/ScanPicture.h"
#include "theme/Dimming.h"

namespace luma {

// As the partial copy's tests print it.
void PrintTo(const Rect& r, std::ostream* out);

namespace {

using fakes::DrawCall;
using HighlightKind = ScanHighlight::Kind;

// Areas in client pixels, the keys 30 pixels below the client's top, where
// a row of words lies.
constexpr Point kKeyOrigin{0, 30};
constexpr Rect kEsc{0, 30, 30, 60}, kA{60, 120, 90, 150}, kS{90, 120, 120, 150};
constexpr Rect kHomeRow{0, 120, 440, 150}, kWords{0, 0, 441, 30};
constexpr Rect kEverything{0, 0, 440, 210};

struct ScanHarness : test::KeyboardHarness {
  fakes::FakeSystemColors sys;
  fakes::RecordingBitmapFactory rowBitmaps;
  fakes::FakeScreen rowScreen;
  WordRow row{WordRowDeps{rowBitmaps, rowScreen, theme, sys}, [](int) {}};
  ScanPicture picture{kb, sys, &row};
  ScanHighlight now;

  explicit ScanHarness(int scheme = 1) {
    ApplyColorScheme(scheme, theme, ComputeThemeColors(sys, {}), sys);
    EXPECT_TRUE(kb.LoadLayout("Standard"));
    kb.Picture().Redraw(true);
    row.SetBounds(kWords);
    row.SetWords({u"the", u"to"});
    picture.SetKeyOrigin(kKeyOrigin);
  }
  void Show(HighlightKind kind, const Rect& area) {
    const ScanHighlight before = now;
    now = {kind, area, {}};
    picture.HighlightChanged(before, now);
  }
  void Forget() {
    ForgetCalls();
    rowScreen.copies.clear();
    rowBitmaps.created.at(0)->calls.clear();
  }
  HighlightColors Colors() { return HighlightColorsFor(theme, sys); }
  // The fills in this color, in the working image's pixels.
  static std::vector<Rect> Fills(const fakes::RecordingBitmap& image, Color color) {
    std::vector<Rect> out;
    for (const DrawCall& c : image.Of(DrawCall::kFillRect))
      if (c.brush == color) out.push_back(c.rect);
    return out;
  }
};

Rect BoxAround(const std::vector<Rect>& rects) {
  if (rects.empty()) return {};
  Rect r = rects.front();
  for (const Rect& o : rects)
    r = {std::min(r.left, o.left), std::min(r.top, o.top), std::max(r.right, o.right),
         std::max(r.bottom, o.bottom)};
  return r;
}

TEST(ScanPicture, AStepCopiesTheOldAndTheNewHighlightOnly) {
  struct Step {
    HighlightKind kind;
    Rect area;
  };
  struct Case {
    std::string what;
    Step before, step;
    std::vector<Rect> keyCopies;  // in the keys' picture
    int rowCopies;
  };
  const std::vector<Case> cases = {
      {"onto A", {HighlightKind::None, {}}, {HighlightKind::Item, kA}, {{60, 90, 91, 121}}, 0},
      {"A to its neighbour S: one copy",
       {HighlightKind::Item, kA},
       {HighlightKind::Item, kS},
       {{60, 90, 121, 122}},
       0},
      {"Esc to A: two, not the picture between",
       {HighlightKind::Item, kEsc},
       {HighlightKind::Item, kA},
       {{0, 0, 32, 32}, {60, 90, 91, 121}},
       0},
      {"A row to its back step",
       {HighlightKind::Row, kHomeRow},
       {HighlightKind::Back, kHomeRow},
       {{0, 90, 441, 122}},
       0},
      {"the row of words to the keys: the row copied to be cleared",
       {HighlightKind::Row, kWords},
       {HighlightKind::Item, kA},
       {{60, 90, 91, 121}},
       1},
      {"the keys to the row of words",
       {HighlightKind::Item, kA},
       {HighlightKind::Row, kWords},
       {{60, 90, 92, 122}},
       1},
      {"stopped: the frame around both",
       {HighlightKind::Item, kA},
       {HighlightKind::Stopped, kEverything},
       {{0, 0, 441, 181}},
       1},
  };
  for (const Case& c : cases) {
    ScanHarness h;
    h.Show(c.before.kind, c.before.area);
    h.Forget();
    h.Show(c.step.kind, c.step.area);
    EXPECT_EQ(h.screen.copies, c.keyCopies) << c.what;
    EXPECT_EQ(static_cast<int>(h.rowScreen.copies.size()), c.rowCopies) << c.what;
    // Drawn over the row while it lies there.
    const bool inRow = c.step.area.top < kWords.bottom;
    EXPECT_EQ(ScanHarness::Fills(*h.rowBitmaps.created.at(0), h.Colors().frame).empty(), !inRow)
        << c.what;
  }
}

// The frame's bands: thick in the frame color with a thin line inside on
// an area, dashes of both colors on a back step, one thin line when stopped.
TEST(ScanPicture, EachKindDrawsItsFrame) {
  struct Case {
    HighlightKind kind;
    Rect area;
    Rect frameAround;  // in the keys' picture
    int thickest;      // the frame's width
    bool innerLine, dashed;
  };
  const std::vector<Case> cases = {
      {HighlightKind::Item, kA, {60, 90, 91, 121}, 3, true, false},
      {HighlightKind::Row, kHomeRow, {0, 90, 441, 121}, 3, true, false},
      {HighlightKind::Back, kHomeRow, {0, 90, 441, 121}, 3, false, true},
      {HighlightKind::Stopped, kEverything, {0, 0, 441, 181}, 1, false, false},
  };
  for (const Case& c : cases) {
    ScanHarness h;
    h.Forget();
    h.Show(c.kind, c.area);
    const std::vector<Rect> frame = ScanHarness::Fills(h.Work(), h.Colors().frame);
    const std::vector<Rect> inner = ScanHarness::Fills(h.Work(), h.Colors().inner);
    EXPECT_EQ(BoxAround(frame), c.frameAround) << static_cast<int>(c.kind);
    int thickest = 0;
    for (const Rect& r : frame) thickest = std::max(thickest, std::min(r.Width(), r.Height()));
    EXPECT_EQ(thickest, c.thickest) << static_cast<int>(c.kind);
    EXPECT_EQ(!inner.empty(), c.innerLine || c.dashed) << static_cast<int>(c.kind);
    EXPECT_EQ(frame.size() > 4, c.dashed) << static_cast<int>(c.kind);
  }
}

// The frame stays on top of whatever the keys repaint under it, and goes
// with the step away, the keys under it painted again.
TEST(ScanPicture, TheFrameOutlastsTheKeysRepaintsAndGoesWithTheStep) {
  ScanHarness h;
  h.Show(HighlightKind::Row, kHomeRow);
  const Color frame = h.Colors().frame;
  struct Case {
    std::string what;
    std::function<void()> act;
    bool frameDrawnLast;
  };
  const std::vector<Case> cases = {
      {"hover onto A", [&] { h.kb.TrackPointer(75, 105); }, true},
      {"A down",
       [&] {
         h.kb.KeyFor(65)->SetDown(true);
         h.kb.Picture().CopyChanges();
       },
       true},
      {"a redraw", [&] { h.kb.Picture().Redraw(true); }, true},
      {"the step away", [&] { h.Show(HighlightKind::Item, kEsc); }, false},
  };
  for (const Case& c : cases) {
    h.Forget();
    c.act();
    // The last paint over A's top edge, where the frame runs.
    const DrawCall* last = nullptr;
    for (const DrawCall& call : h.Work().calls) {
      const Rect& r = call.rect;
      if (call.kind != DrawCall::kText && r.left <= 75 && 75 < r.right && r.top <= 90 &&
          90 < r.bottom)
        last = &call;
      if (call.kind == DrawCall::kPolygon && !call.points.empty() && call.points[0].x == 60 &&
          call.points[0].y == 120)
        last = &call;  // A's outline, from its bottom-left corner
    }
    ASSERT_NE(last, nullptr) << c.what;
    EXPECT_EQ(last->kind == DrawCall::kFillRect && last->brush == frame, c.frameDrawnLast)
        << c.what;
  }
}

// The frame stands out from the faces and the background of every scheme,
// dimmed or not, and the line inside it stands out from the frame.
TEST(ScanPicture, TheHighlightContrastsInEveryScheme) {
  const Color magenta = Rgb(190, 0, 190), yellow = Rgb(255, 210, 0);
  const Color expected[] = {magenta, magenta, magenta, yellow, magenta, magenta, magenta};
  EXPECT_DOUBLE_EQ(ContrastRatio(Rgb(0, 0, 0), Rgb(255, 255, 255)), 21.0);
  fakes::FakeSystemColors sys;
  for (int scheme = 1; scheme <= 7; ++scheme) {
    for (bool dimmed : {false, true}) {
      Theme theme;
      ApplyColorScheme(scheme, theme, ComputeThemeColors(sys, {}), sys);
      if (dimmed) static_cast<SchemeColors&>(theme) = DimmedColors(theme, sys);
      const HighlightColors colors = HighlightColorsFor(theme, sys);
      const std::string what = std::to_string(scheme) + (dimmed ? " dimmed" : "");
      EXPECT_EQ(colors.frame, expected[scheme - 1]) << what;
      for (Color face : {theme.RestFace, theme.BackColor}) {
        if (IsSysColor(face)) face = sys.GetSysColor(face & 0xFF);
        EXPECT_GE(ContrastRatio(colors.frame, face), 3.0) << what;
      }
      EXPECT_GE(ContrastRatio(colors.frame, colors.inner), 4.5) << what;
    }
  }
}

// On a face no vivid color stands out from, the frame is black or white.
TEST(ScanPicture, AMidGreyFaceGetsAPlainFrame) {
  fakes::FakeSystemColors sys;
  SchemeColors grey;
  grey.BackColor = grey.RestFace = Rgb(0x80, 0x80, 0x80);
  const HighlightColors colors = HighlightColorsFor(grey, sys);
  EXPECT_EQ(colors.frame, Rgb(0, 0, 0));
  EXPECT_EQ(colors.inner, Rgb(255, 255, 255));
}

}  // namespace
}  // namespace luma
