// The scan's highlight over the keys and the row of words: what a step
// copies, draws and tints, what stays on top of the keys' own repaints, and
// its colors in every scheme.
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
using K = ScanHighlight::Kind;

// Client pixels: the keys lie 30 pixels down, below a row of words.
constexpr Point kKeyOrigin{0, 30};
constexpr Rect kEsc{0, 30, 30, 60}, kA{60, 120, 90, 150}, kS{90, 120, 120, 150};
constexpr Rect kHomeRow{0, 120, 440, 150}, kWords{0, 0, 441, 30}, kAll{0, 0, 440, 210};
constexpr Point kMidA{75, 105};  // in the keys' picture

struct ScanHarness : test::KeyboardHarness {
  fakes::FakeSystemColors sys;
  fakes::RecordingBitmapFactory rowBitmaps;
  fakes::FakeScreen rowScreen;
  WordRow row{WordRowDeps{rowBitmaps, rowScreen, theme, sys}, [](int) {}};
  ScanPicture picture{kb, sys, &row};
  ScanHighlight now;
  std::vector<std::uint32_t> atRest;  // the keys' pixels before any highlight
  std::uint32_t tint = 0;             // the frame's color as a pixel

  ScanHarness() {
    Base().keepPixels = Work().keepPixels = true;
    ApplyColorScheme(1, theme, ComputeThemeColors(sys, {}), sys);
    EXPECT_TRUE(kb.LoadLayout("Standard"));
    kb.Picture().Redraw(true);
    row.SetBounds(kWords);
    row.SetWords({u"the", u"to"});
    picture.SetKeyOrigin(kKeyOrigin);
    atRest = Work().pixels;
    const Color frame = Frame();
    tint = Rgb(BlueOf(frame), GreenOf(frame), RedOf(frame));
  }
  void Show(K kind, const Rect& area) {
    const ScanHighlight before = now;
    now = {kind, area, {}};
    picture.HighlightChanged(before, now);
  }
  void Forget() {
    ForgetCalls();
    rowScreen.copies.clear();
    rowBitmaps.created.at(0)->calls.clear();
  }
  Color Frame() { return HighlightColorsFor(theme, sys).frame; }
  // The fills in the frame's color.
  std::vector<Rect> FrameFills(const fakes::RecordingBitmap& image) {
    std::vector<Rect> out;
    for (const DrawCall& c : image.Of(DrawCall::kFillRect))
      if (c.brush == Frame()) out.push_back(c.rect);
    return out;
  }
  // How a pixel of the keys' picture differs from its rest: 0 not, 1 tinted
  // once, 2 otherwise.
  int Change(Point p) {
    const std::uint32_t was = atRest.at(static_cast<std::size_t>(p.y * Work().width + p.x));
    const std::uint32_t is = Work().PixelAt(p.x, p.y);
    return is == was ? 0 : is == Tinted(was, tint) ? 1 : 2;
  }
};

// In the keys' picture, 30 pixels above the client's. The frame is 3 pixels
// wide, a stopped scan's 1; a back step's is dashed; a row's inside tinted.
// Every pixel of the keys outside the new highlight is as before any.
TEST(ScanPicture, AStepCopiesDrawsAndTintsTheOldAndTheNewHighlightOnly) {
  const struct {
    const char* what;
    K fromKind;
    Rect from;
    K kind;
    Rect area;
    std::vector<Rect> keyCopies;
    int rowCopies;
    std::string look;  // of the keys' picture: the frame's width, dashed, tinted
  } cases[] = {
      {"onto A", K::None, {}, K::Item, kA, {{60, 90, 91, 121}}, 0, "3"},
      {"A to S: one copy", K::Item, kA, K::Item, kS, {{60, 90, 121, 122}}, 0, "3"},
      {"Esc to A: two", K::Item, kEsc, K::Item, kA, {{0, 0, 32, 32}, {60, 90, 91, 121}}, 0, "3"},
      {"Esc to a row",
       K::Item,
       kEsc,
       K::Row,
       kHomeRow,
       {{0, 0, 32, 32}, {0, 90, 441, 121}},
       0,
       "3 tinted"},
      {"a row to its back step",
       K::Row,
       kHomeRow,
       K::Back,
       kHomeRow,
       {{0, 90, 441, 122}},
       0,
       "3 dashed"},
      {"the row of words to A", K::Row, kWords, K::Item, kA, {{60, 90, 91, 121}}, 1, "3"},
      {"A to the row of words", K::Item, kA, K::Row, kWords, {{60, 90, 92, 122}}, 1, "0"},
      {"stopped", K::Row, kHomeRow, K::Stopped, kAll, {{0, 0, 441, 181}}, 1, "1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScanHarness h;
    h.Show(c.fromKind, c.from);
    h.Forget();
    h.Show(c.kind, c.area);
    EXPECT_EQ(h.screen.copies, c.keyCopies);
    EXPECT_EQ(static_cast<int>(h.rowScreen.copies.size()), c.rowCopies);
    EXPECT_EQ(h.FrameFills(*h.rowBitmaps.created.at(0)).empty(), c.area.top >= kWords.bottom)
        << "drawn over the row while it lies there";
    const std::vector<Rect> frame = h.FrameFills(h.Work());
    int width = 0;
    for (const Rect& r : frame) width = std::max(width, std::min(r.Width(), r.Height()));
    const Rect box{c.area.left, c.area.top - kKeyOrigin.y, c.area.right + 1,
                   c.area.bottom + 1 - kKeyOrigin.y};
    const bool tinted =
        box.top >= 0 && h.Change({(box.left + box.right) / 2, (box.top + box.bottom) / 2}) == 1;
    EXPECT_EQ(
        std::to_string(width) + (frame.size() > 4 ? " dashed" : "") + (tinted ? " tinted" : ""),
        c.look);
    int changedAround = 0;
    for (std::int32_t y = 0; y < h.Work().height; ++y)
      for (std::int32_t x = 0; x < h.Work().width; ++x)
        if (x < box.left || x >= box.right || y < box.top || y >= box.bottom)
          changedAround += h.Change({x, y}) != 0;
    EXPECT_EQ(changedAround, 0);
  }
}

// The frame stays on top of whatever the keys repaint under it and the tint
// on them once, and both go with the step away, the keys painted again.
TEST(ScanPicture, TheHighlightOutlastsTheKeysRepaintsAndGoesWithTheStep) {
  ScanHarness h;
  h.Show(K::Row, kHomeRow);
  const struct {
    std::string what;
    std::function<void()> act;
    bool frameDrawnLast;
    int change;
  } cases[] = {
      {"hover onto A", [&] { h.kb.TrackPointer(kMidA.x, kMidA.y); }, true, 1},
      {"A down", [&] { h.kb.KeyFor(65)->SetDown(true), h.kb.Picture().CopyChanges(); }, true, 1},
      {"a redraw", [&] { h.kb.Picture().Redraw(true); }, true, 1},
      {"the step away", [&] { h.Show(K::Item, kEsc); }, false, 0},
  };
  for (const auto& c : cases) {
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
    EXPECT_EQ(last->kind == DrawCall::kFillRect && last->brush == h.Frame(), c.frameDrawnLast)
        << c.what;
    EXPECT_EQ(h.Change(kMidA), c.change) << c.what;
  }
}

// The frame stands out from the faces and the background of every scheme,
// dimmed or not, and the line inside it stands out from the frame; where no
// vivid color does, the frame is black or white. Tinted, the captions keep
// 70 % of their contrast with the face up to 3:1.
TEST(ScanPicture, TheHighlightContrastsInEveryScheme) {
  const Color magenta = Rgb(190, 0, 190), yellow = Rgb(255, 210, 0), grey = Rgb(128, 128, 128);
  const Color expected[] = {magenta, magenta, magenta, yellow, magenta, magenta, magenta, 0};
  EXPECT_DOUBLE_EQ(ContrastRatio(Rgb(0, 0, 0), Rgb(255, 255, 255)), 21.0);
  fakes::FakeSystemColors sys;
  const auto resolved = [&](Color c) { return IsSysColor(c) ? sys.GetSysColor(c & 0xFF) : c; };
  for (int scheme = 1; scheme <= 8; ++scheme) {
    for (bool dimmed : {false, true}) {
      Theme theme;
      ApplyColorScheme(scheme, theme, ComputeThemeColors(sys, {}), sys);
      if (scheme == 8) theme.BackColor = theme.RestFace = grey;
      if (dimmed) static_cast<SchemeColors&>(theme) = DimmedColors(theme, sys);
      const HighlightColors colors = HighlightColorsFor(theme, sys);
      SCOPED_TRACE(std::to_string(scheme) + (dimmed ? " dimmed" : ""));
      EXPECT_EQ(colors.frame, expected[scheme - 1]);
      for (Color face : {theme.RestFace, theme.BackColor})
        EXPECT_GE(ContrastRatio(colors.frame, resolved(face)), 3.0);
      EXPECT_GE(ContrastRatio(colors.frame, colors.inner), 4.5);
      const Color face =
          resolved(theme.RestFace == kBackgroundFace ? theme.BackColor : theme.RestFace);
      for (Color caption : {theme.RestCaption, theme.RestChar}) {
        const double before = ContrastRatio(resolved(caption), face);
        const double tinted =
            ContrastRatio(Tinted(resolved(caption), colors.frame), Tinted(face, colors.frame));
        EXPECT_GE(tinted, 0.7 * std::min(before, 3.0));
      }
    }
  }
}

}  // namespace
}  // namespace luma
