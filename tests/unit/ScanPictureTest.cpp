// The scan's highlight over the keys and the row of words: what a step
// copies and draws, what stays on top of the keys' own repaints, and its
// colors in every scheme.
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

// Client pixels: the keys lie 30 pixels down, below a row of words.
constexpr Point kKeyOrigin{0, 30};
constexpr Rect kEsc{0, 30, 30, 60}, kA{60, 120, 90, 150}, kS{90, 120, 120, 150};
constexpr Rect kHomeRow{0, 120, 440, 150}, kWords{0, 0, 441, 30}, kAll{0, 0, 440, 210};

struct ScanHarness : test::KeyboardHarness {
  fakes::FakeSystemColors sys;
  fakes::RecordingBitmapFactory rowBitmaps;
  fakes::FakeScreen rowScreen;
  WordRow row{WordRowDeps{rowBitmaps, rowScreen, theme, sys}, [](int) {}};
  ScanPicture picture{kb, sys, &row};
  ScanHighlight now;

  ScanHarness() {
    ApplyColorScheme(1, theme, ComputeThemeColors(sys, {}), sys);
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
  // The fills in the frame's color.
  std::vector<Rect> FrameFills(const fakes::RecordingBitmap& image) {
    std::vector<Rect> out;
    for (const DrawCall& c : image.Of(DrawCall::kFillRect))
      if (c.brush == HighlightColorsFor(theme, sys).frame) out.push_back(c.rect);
    return out;
  }
};

// In the keys' picture, 30 pixels above the client's. The frame is 3 pixels
// wide, a stopped scan's 1; a back step's is dashed.
TEST(ScanPicture, AStepCopiesAndDrawsTheOldAndTheNewHighlightOnly) {
  struct Case {
    std::string what;
    HighlightKind fromKind;
    Rect from;
    HighlightKind kind;
    Rect area;
    std::vector<Rect> keyCopies;
    int rowCopies, frameWidth;
    bool dashed;
  };
  using K = HighlightKind;
  const std::vector<Case> cases = {
      {"onto A", K::None, {}, K::Item, kA, {{60, 90, 91, 121}}, 0, 3, false},
      {"A to its neighbour S: one copy",
       K::Item,
       kA,
       K::Item,
       kS,
       {{60, 90, 121, 122}},
       0,
       3,
       false},
      {"Esc to A: two, not the picture between",
       K::Item,
       kEsc,
       K::Item,
       kA,
       {{0, 0, 32, 32}, {60, 90, 91, 121}},
       0,
       3,
       false},
      {"a row to its back step",
       K::Row,
       kHomeRow,
       K::Back,
       kHomeRow,
       {{0, 90, 441, 122}},
       0,
       3,
       true},
      {"the row of words to A", K::Row, kWords, K::Item, kA, {{60, 90, 91, 121}}, 1, 3, false},
      {"A to the row of words", K::Item, kA, K::Row, kWords, {{60, 90, 92, 122}}, 1, 0, false},
      {"stopped: around both", K::Item, kA, K::Stopped, kAll, {{0, 0, 441, 181}}, 1, 1, false},
  };
  for (const Case& c : cases) {
    ScanHarness h;
    h.Show(c.fromKind, c.from);
    h.Forget();
    h.Show(c.kind, c.area);
    EXPECT_EQ(h.screen.copies, c.keyCopies) << c.what;
    EXPECT_EQ(static_cast<int>(h.rowScreen.copies.size()), c.rowCopies) << c.what;
    const std::vector<Rect> frame = h.FrameFills(h.Work());
    int width = 0;
    for (const Rect& r : frame) width = std::max(width, std::min(r.Width(), r.Height()));
    EXPECT_EQ(width, c.frameWidth) << c.what;
    EXPECT_EQ(frame.size() > 4, c.dashed) << c.what;
    EXPECT_EQ(h.FrameFills(*h.rowBitmaps.created.at(0)).empty(), c.area.top >= kWords.bottom)
        << c.what << ": drawn over the row while it lies there";
  }
}

// The frame stays on top of whatever the keys repaint under it, and goes
// with the step away, the keys under it painted again.
TEST(ScanPicture, TheFrameOutlastsTheKeysRepaintsAndGoesWithTheStep) {
  ScanHarness h;
  h.Show(HighlightKind::Row, kHomeRow);
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
  const Color frame = HighlightColorsFor(h.theme, h.sys).frame;
  for (const Case& c : cases) {
    h.Forget();
    c.act();
    // The last paint over A's top edge, where the frame runs: a fill there
    // or A's outline, from its bottom-left corner.
    const DrawCall* last = nullptr;
    for (const DrawCall& call : h.Work().calls) {
      const Rect& r = call.rect;
      if ((call.kind == DrawCall::kFillRect || call.kind == DrawCall::kBlit) && r.left <= 75 &&
          75 < r.right && r.top <= 90 && 90 < r.bottom)
        last = &call;
      if (call.kind == DrawCall::kPolygon && call.points.at(0) == Point{60, 120}) last = &call;
    }
    ASSERT_NE(last, nullptr) << c.what;
    EXPECT_EQ(last->kind == DrawCall::kFillRect && last->brush == frame, c.frameDrawnLast)
        << c.what;
  }
}

// The frame stands out from the faces and the background of every scheme,
// dimmed or not, and the line inside it stands out from the frame; where no
// vivid color does, the frame is black or white.
TEST(ScanPicture, TheHighlightContrastsInEveryScheme) {
  const Color magenta = Rgb(190, 0, 190), yellow = Rgb(255, 210, 0), grey = Rgb(128, 128, 128);
  const Color expected[] = {magenta, magenta, magenta, yellow, magenta, magenta, magenta, 0};
  EXPECT_DOUBLE_EQ(ContrastRatio(Rgb(0, 0, 0), Rgb(255, 255, 255)), 21.0);
  fakes::FakeSystemColors sys;
  for (int scheme = 1; scheme <= 8; ++scheme) {
    for (bool dimmed : {false, true}) {
      Theme theme;
      ApplyColorScheme(scheme, theme, ComputeThemeColors(sys, {}), sys);
      if (scheme == 8) theme.BackColor = theme.RestFace = grey;
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

}  // namespace
}  // namespace luma
