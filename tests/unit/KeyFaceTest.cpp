#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

#include "Fakes.h"
#include "KeyboardHarness.h"
#include "keyboard/KeyFace.h"
#include "keyboard/Keyboard.h"
#include "theme/Theme.h"

namespace luma {
namespace {

using fakes::DrawCall;
using fakes::RecordingBitmap;

constexpr unsigned kCentred = kDtCenter | kDtVCenter | kDtSingleLine | kDtNoPrefix;
constexpr unsigned kLeftAligned = kDtVCenter | kDtSingleLine | kDtNoPrefix;

// Every slot a different color, so a recorded call shows which slot it used.
Theme DistinctTheme() {
  Theme t;
  t.BackColor = Rgb(1, 0, 0);
  t.BackPenColor = Rgb(2, 0, 0);
  t.RestFace = Rgb(3, 0, 0);
  t.RestBorder = Rgb(4, 0, 0);
  t.RestCaption = Rgb(5, 0, 0);
  t.RestChar = Rgb(6, 0, 0);
  t.DownFace = Rgb(7, 0, 0);
  t.DownBorder = Rgb(8, 0, 0);
  t.DownCaption = Rgb(9, 0, 0);
  t.DownChar = Rgb(10, 0, 0);
  t.HotFace = Rgb(11, 0, 0);
  t.HotBorder = Rgb(12, 0, 0);
  t.HotCaption = Rgb(13, 0, 0);
  t.HotChar = Rgb(14, 0, 0);
  for (KeyFont* f : {&t.KeyFontSmall, &t.KeyFontLarge}) {
    f->Name = "Tahoma";
    f->Bold = true;
  }
  t.KeyFontSmall.Size = 8;
  t.KeyFontLarge.Size = 10;
  return t;
}

// A canvas that remembers the smallest font size it was ever given.
class SizeWatchingBitmap : public RecordingBitmap {
 public:
  int smallest = 1000;
  void SetFont(const FontSpec& f) override {
    smallest = std::min(smallest, f.size);
    RecordingBitmap::SetFont(f);
  }
};

class ThrowingBitmap : public RecordingBitmap {
 public:
  void DrawText(std::u16string_view, const Rect&, unsigned) override {
    throw std::runtime_error("draw failed");
  }
};

class KeyFaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    theme = DistinctTheme();
    // Key A: 'a', 'A' with Shift, 'c' with Ctrl alone (a printable stand-in,
    // so that masking shows), '@' with AltGr.
    fakes::FakeKeyboardLayouts::Layout us;
    us.vkToScan[65] = 0x1E;
    us.chars[65] = [](const KeyStateArray& s) -> std::pair<int, std::u16string> {
      if (s[17] && s[18]) return {1, u"@"};
      if (s[17]) return {1, u"c"};
      if (s[16]) return {1, u"A"};
      return {1, u"a"};
    };
    parts.layouts.layouts[kUsEnglishHkl] = us;
    parts.layouts.installed = {kUsEnglishHkl};
    kb = std::make_unique<Keyboard>(parts.Deps(&textBitmap), kUsEnglishHkl);
    kb->Captions().ChooseNamesLayout();
  }
  void TearDown() override {
    keys.clear();
    kb.reset();
  }

  // A key of its own, outside the model's layout; not painted on creation.
  Key& AddKey(int code, std::vector<std::int32_t> values, DrawingCanvas* canvas = nullptr) {
    kb->Picture().SetPaintingEnabled(false);
    keys.push_back(std::make_unique<Key>(*kb, static_cast<std::uint8_t>(code), values,
                                         canvas ? *canvas : kb->Picture().WorkImage()));
    kb->Picture().SetPaintingEnabled(true);
    Work().calls.clear();
    return *keys.back();
  }
  // Corners bottom-left, bottom-right, top-right, top-left, as the built-in layout has them.
  Key& AddSquareKey(int code, std::int32_t x, std::int32_t y, std::int32_t size,
                    DrawingCanvas* canvas = nullptr) {
    return AddKey(code, {x, y + size, x + size, y + size, x + size, y, x, y}, canvas);
  }
  // Paints key afresh in the given state, recording only that paint.
  void PaintIn(Key& key, bool down, bool hot) {
    key.SetDown(down);
    key.SetHot(hot);
    key.MarkDrawnAtRest();
    Work().calls.clear();
    textBitmap.calls.clear();
    key.Refresh();
  }

  RecordingBitmap& Work() { return static_cast<RecordingBitmap&>(kb->Picture().WorkImage()); }
  std::vector<DrawCall> Texts() { return Work().Of(DrawCall::kText); }

  test::KeyboardParts parts;
  Theme& theme = parts.theme;
  RecordingBitmap textBitmap;
  std::unique_ptr<Keyboard> kb;
  std::vector<std::unique_ptr<Key>> keys;
};

TEST_F(KeyFaceTest, EscapeCaptionAtRestAndDown) {
  Key& esc = AddSquareKey(27, 0, 0, 30);
  EXPECT_EQ(esc.ComputeTextBox(esc.OutlineOwner()->Points()), (TextBox{1, 1, 29, 29, 15, 15}));

  esc.Refresh();
  auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, u"Esc");
  EXPECT_EQ(texts[0].rect, (Rect{3, 2, 29, 29}));
  EXPECT_EQ(texts[0].format, kCentred);
  EXPECT_EQ(texts[0].font.size, 8);
  EXPECT_EQ(texts[0].font.name, "Tahoma");
  EXPECT_TRUE(texts[0].font.bold);
  EXPECT_EQ(texts[0].font.color, theme.RestCaption);
  EXPECT_TRUE(texts[0].brushClear) << "text without background";
  EXPECT_FALSE(Work().brushClear) << "brush solid again afterwards";
  EXPECT_EQ(Work().Count(DrawCall::kPolygon), 0u) << "the rest outline is the base image's";

  Work().calls.clear();
  esc.SetDown(true);
  texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].rect, (Rect{4, 3, 30, 30})) << "one pixel right and down";
  EXPECT_EQ(texts[0].font.color, theme.DownCaption);
  const auto outlines = Work().Of(DrawCall::kPolygon);
  ASSERT_EQ(outlines.size(), 1u);
  EXPECT_EQ(outlines[0].points, esc.Points()) << "the outline does not move";
  EXPECT_EQ(outlines[0].pen, theme.DownBorder);
  EXPECT_EQ(outlines[0].brush, theme.DownFace);
}

TEST_F(KeyFaceTest, TwoPointKeyIsARoundedRectangle) {
  Key& key = AddKey(9, {10, 10, 60, 40});
  key.ChooseColors(Work(), false, false);
  key.Paint(Work(), true);
  const auto rects = Work().Of(DrawCall::kRoundRect);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0].rect, (Rect{10, 10, 60, 40}));
  EXPECT_EQ(rects[0].ellipseW, 5);
  EXPECT_EQ(rects[0].ellipseH, 5);
  EXPECT_EQ(rects[0].pen, theme.RestBorder);
  EXPECT_EQ(rects[0].brush, theme.RestFace);

  Work().calls.clear();
  key.Refresh();
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, u"Tab");
  EXPECT_EQ(texts[0].rect, (Rect{12, 11, 58, 38}));
}

TEST_F(KeyFaceTest, SmallPolygonFallsBackToItsShrunkBox) {
  // Whatever the label, the box around the centre does not fit a 15 x 15 key.
  for (int code : {27, 65, 112}) {
    Key& key = AddSquareKey(code, 0, 0, 15);
    EXPECT_EQ(key.ComputeTextBox(key.OutlineOwner()->Points()), (TextBox{1, 1, 14, 14, 7, 7}))
        << code;
  }
}

TEST_F(KeyFaceTest, FittedBoxOfNonRectangularOutlines) {
  // An L-shaped key: a bar 60 x 30 on top, a leg 30 x 30 below its right half.
  // The bottom-left corner walks diagonally until it reaches the bar at (30, 30).
  Key& l = AddKey(13, {60, 60, 60, 0, 0, 0, 0, 30, 30, 30, 30, 60});
  EXPECT_EQ(l.ComputeTextBox(l.OutlineOwner()->Points()), (TextBox{30, 1, 59, 30, 30, 30}));
  // A notch 10 deep in the middle of the top edge: its corner (25, 10) lies in
  // the box and cuts off the smaller (upper) side.
  Key& n = AddKey(27, {0, 40, 40, 40, 40, 0, 25, 0, 25, 10, 15, 10, 15, 0, 0, 0});
  EXPECT_EQ(n.ComputeTextBox(n.OutlineOwner()->Points()), (TextBox{1, 10, 39, 39, 20, 20}));
  // A triangle too small for a box around its centre ends on its shrunk box.
  Key& t = AddKey(112, {0, 0, 40, 0, 0, 40});
  const TextBox box = t.ComputeTextBox(t.OutlineOwner()->Points());
  EXPECT_LE(box.left, box.right);
  EXPECT_LE(box.top, box.bottom);
}

TEST_F(KeyFaceTest, FarOutOutlinesGetAHeldBoxAndALabel) {
  // Found by fuzzing the layout loader: sums of such corners overflowed, and
  // the triangle's corners walked two billion pixels one at a time.
  const std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  const std::int32_t hi = std::numeric_limits<std::int32_t>::max();
  const std::vector<std::vector<std::int32_t>> outlines = {
      {lo, lo, hi, hi},
      {hi, hi, lo, lo},
      {lo, lo, hi, lo, hi, hi, lo, hi},
      {0, 0, 2000000000, 0, 0, 2000000000},
      {hi, hi, hi - 1, hi, hi, hi - 1},
  };
  const std::int32_t limit = 1 << 29;
  for (const auto& outline : outlines) {
    Key& key = AddKey(27, outline);
    const TextBox box = key.ComputeTextBox(key.OutlineOwner()->Points());
    for (const std::int32_t v : {box.left, box.top, box.right, box.bottom, box.cx, box.cy}) {
      EXPECT_LE(std::llabs(v), limit) << outline[0] << "," << outline[1];
    }
    PaintIn(key, true, true);
    EXPECT_EQ(Texts().size(), 1u) << outline[0] << "," << outline[1];
  }
}

TEST_F(KeyFaceTest, HotFontsAreLargerAndDownWinsOverHotForColors) {
  Key& esc = AddSquareKey(27, 0, 0, 30);
  Key& a = AddSquareKey(65, 30, 0, 30);
  struct Row {
    bool down, hot;
    int captionSize, charSize;
    Color pen, brush, caption, chr;
  } rows[] = {
      {false, false, 8, 10, theme.RestBorder, theme.RestFace, theme.RestCaption, theme.RestChar},
      {false, true, 10, 13, theme.HotBorder, theme.HotFace, theme.HotCaption, theme.HotChar},
      {true, false, 8, 10, theme.DownBorder, theme.DownFace, theme.DownCaption, theme.DownChar},
      {true, true, 10, 13, theme.DownBorder, theme.DownFace, theme.DownCaption, theme.DownChar},
  };
  for (const auto& r : rows) {
    for (Key* key : {&esc, &a}) {
      PaintIn(*key, r.down, r.hot);
      const auto texts = Texts();
      ASSERT_EQ(texts.size(), 1u);
      const bool isCaption = key == &esc;
      EXPECT_EQ(texts[0].text, isCaption ? u"Esc" : u"a");
      EXPECT_EQ(texts[0].font.size, isCaption ? r.captionSize : r.charSize)
          << "down " << r.down << " hot " << r.hot;
      EXPECT_EQ(texts[0].font.color, isCaption ? r.caption : r.chr);
      EXPECT_EQ(texts[0].brush, r.brush);
      if (r.down || r.hot) {
        const auto outlines = Work().Of(DrawCall::kPolygon);
        ASSERT_EQ(outlines.size(), 1u);
        EXPECT_EQ(outlines[0].pen, r.pen);
      }
    }
  }
}

TEST_F(KeyFaceTest, RefreshingTwiceRepaintsTheOutlineOnceAndTheLabelTwice) {
  Key& esc = AddSquareKey(27, 0, 0, 30);
  esc.SetHot(true);
  esc.Refresh();
  EXPECT_EQ(Work().Count(DrawCall::kPolygon), 1u);
  EXPECT_EQ(Work().Count(DrawCall::kText), 2u);
  // After a full redraw the working image shows the rest look again.
  Work().calls.clear();
  esc.MarkDrawnAtRest();
  esc.Refresh();
  EXPECT_EQ(Work().Count(DrawCall::kPolygon), 1u);
}

// With font smoothing a label drawn again over itself blends darker: a bar
// that grows draws over the face as it is, one that shrinks repaints the face.
TEST_F(KeyFaceTest, AHoverStepNeverDrawsTheLabelOverItself) {
  Key& esc = AddSquareKey(27, 0, 0, 30);
  Key& a = AddSquareKey(65, 30, 0, 30);
  for (Key* key : {&esc, &a}) {
    for (bool down : {false, true}) {
      PaintIn(*key, down, true);
      for (int permille : {100, 200, 700, 1000, 300, 0, 50}) {
        Work().calls.clear();
        key->SetHoverProgress(permille);
        const auto& calls = Work().calls;
        const auto face = std::find_if(calls.begin(), calls.end(), [](const DrawCall& c) {
          return c.kind == DrawCall::kPolygon;
        });
        EXPECT_TRUE(std::none_of(calls.begin(), face,
                                 [](const DrawCall& c) { return c.kind == DrawCall::kText; }))
            << "key " << int{key->Code()} << " down " << down << " at " << permille;
        EXPECT_EQ(Work().Count(DrawCall::kFillRect) > 0, permille > 0) << permille;
      }
    }
  }
}

TEST_F(KeyFaceTest, NothingIsPaintedWhilePaintingIsDisabled) {
  Key& esc = AddSquareKey(27, 0, 0, 30);
  kb->Picture().SetPaintingEnabled(false);
  esc.SetHot(true);
  esc.Refresh();
  EXPECT_TRUE(Work().calls.empty());
}

TEST_F(KeyFaceTest, KeysWithoutAnOutlineOrPlaceDrawNothing) {
  Key& none = AddKey(27, {});
  Key& one = AddKey(9, {5, 5});
  Key& placeless = AddSquareKey(65, 0, 0, 30);
  placeless.SetOutlineOwner(nullptr);
  for (Key* key : {&none, &one, &placeless}) {
    key->SetDown(true);
    key->ChooseColors(Work(), true, false);
    key->Paint(Work(), true);
    key->Refresh();
  }
  EXPECT_TRUE(Work().calls.empty());
}

TEST_F(KeyFaceTest, NoLabelOnTheSpaceBarOrAnUnnamedPosition) {
  Key& space = AddKey(32, {0, 0, 150, 30});
  Key& unnamed = AddSquareKey(7, 0, 30, 30);
  space.Refresh();
  unnamed.Refresh();  // and no character label in its place either
  EXPECT_EQ(Work().Count(DrawCall::kText), 0u);
  EXPECT_FALSE(Work().brushClear);
  space.SetDown(true);
  EXPECT_EQ(Work().Count(DrawCall::kRoundRect), 1u);
  EXPECT_EQ(Work().Count(DrawCall::kText), 0u);
}

TEST_F(KeyFaceTest, ALabelShowsThePositionsNameOrTheKeysOwnCharacter) {
  Key& esc = AddSquareKey(27, 0, 0, 30);
  Key& a = AddSquareKey(65, 30, 0, 30);
  Key& b = AddSquareKey(66, 60, 0, 30);
  a.SetOutlineOwner(&esc);  // a character key on a named position shows the name
  a.Refresh();
  b.SetOutlineOwner(&a);  // on a character position, its own character
  b.Refresh();
  const auto texts = Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, u"Esc");
  EXPECT_EQ(texts[0].rect, (Rect{3, 2, 29, 29}));
  EXPECT_EQ(texts[1].text, std::u16string(1, kb->Captions().CaptionFor(66)));
  EXPECT_EQ(texts[1].rect, (Rect{33, 2, 59, 29}));
}

TEST_F(KeyFaceTest, ACaptionTooWideIsDrawnSmallerThenLeftAligned) {
  // "Esc" at 9 pixels per character is 27 wide at 8 points, 3 * 9 * size / 8
  // at any size. A square key of side n has the box 1..n-1 and room for
  // n - 4 pixels; the caption goes down to two thirds of 8 points, 5.
  Work().charWidthAt8 = 9;
  struct Row {
    std::int32_t side;
    int size;
    unsigned format;
  } rows[] = {{60, 8, kCentred},
              {31, 8, kCentred},
              {30, 7, kCentred},
              {20, 5, kCentred},
              {15, 5, kLeftAligned}};
  for (const auto& r : rows) {
    Key& esc = AddSquareKey(27, 0, 0, r.side);
    esc.Refresh();
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].font.size, r.size) << r.side;
    EXPECT_EQ(texts[0].format, r.format) << r.side;
    EXPECT_EQ(texts[0].rect, (Rect{3, 2, r.side - 1, r.side - 1})) << "clipped to the box";
  }
}

TEST_F(KeyFaceTest, CtrlAloneDoesNotChangeTheCharacterButAltGrDoes) {
  Key& a = AddSquareKey(65, 0, 0, 30);
  Key& ctrl = AddKey(17, {});
  Key& rightAlt = AddKey(165, {});
  struct Row {
    bool ctrl, rightAlt;
    char16_t shown, typed;
  } rows[] = {
      {false, false, u'a', u'a'},
      {true, false, u'a', u'c'},  // shown without Ctrl, typed with it
      {true, true, u'@', u'@'},
  };
  for (const auto& r : rows) {
    ctrl.SetDown(r.ctrl);
    rightAlt.SetDown(r.rightAlt);
    Work().calls.clear();
    a.Refresh();
    const auto texts = Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, std::u16string(1, r.shown));
    EXPECT_EQ(kb->Captions().CharLabelFor(65), r.shown);
    EXPECT_EQ(kb->Captions().CaptionFor(65), r.typed) << "drawing leaves the key state alone";
  }
}

TEST_F(KeyFaceTest, KeyStateAndBrushComeBackWhenDrawingFails) {
  ThrowingBitmap failing;
  Key& a = AddSquareKey(65, 0, 0, 30, &failing);
  AddKey(17, {}).SetDown(true);
  EXPECT_THROW(a.Refresh(), std::runtime_error);
  EXPECT_EQ(kb->Captions().CaptionFor(65), u'c');
  EXPECT_FALSE(failing.brushClear);
}

TEST_F(KeyFaceTest, PureGreenRestFaceIsAMarkerUnlessLiteral) {
  theme.RestFace = kBackgroundFace;
  Key& esc = AddSquareKey(27, 0, 0, 30);
  esc.ChooseColors(Work(), false, false);
  esc.Paint(Work(), true);
  esc.Refresh();
  EXPECT_EQ(Work().Of(DrawCall::kPolygon).at(0).brush, theme.BackColor);
  EXPECT_EQ(Texts().size(), 1u) << "drawn directly";
  EXPECT_EQ(Work().Count(DrawCall::kTransparent), 0u);

  kb->Picture().SetBackgroundFaceDrawnAsColor(true);
  Work().calls.clear();
  esc.ChooseColors(Work(), false, false);
  EXPECT_EQ(Work().brush, kBackgroundFace);
}

TEST_F(KeyFaceTest, LabelsOnGreenFacesGoThroughTheTextBitmap) {
  Key& esc = AddSquareKey(27, 0, 0, 30);
  Key& a = AddSquareKey(65, 30, 0, 30);
  struct Row {
    const char* what;
    bool down, hot;
  } rows[] = {{"hot", false, true}, {"down", true, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    theme.HotFace = theme.DownFace = kBackgroundFace;
    for (Key* key : {&esc, &a}) {
      PaintIn(*key, r.down, r.hot);
      EXPECT_EQ(Work().Count(DrawCall::kText), 0u);
      const auto outlines = Work().Of(DrawCall::kPolygon);
      ASSERT_EQ(outlines.size(), 1u);
      EXPECT_EQ(outlines[0].brush, kBackgroundFace) << "only the rest face is a marker";
      const auto blits = Work().Of(DrawCall::kTransparent);
      ASSERT_EQ(blits.size(), 1u);
      const TextBox box = key->ComputeTextBox(key->OutlineOwner()->Points());
      const int shift = r.down ? 1 : 0;
      const Rect rect{box.left + 2 + shift, box.top + 1 + shift, box.right + shift,
                      box.bottom + shift};
      EXPECT_EQ(blits[0].rect.left, rect.left);
      EXPECT_EQ(blits[0].rect.top, rect.top);
      EXPECT_EQ(textBitmap.width, rect.Width());
      EXPECT_EQ(textBitmap.height, rect.Height());
      const auto fills = textBitmap.Of(DrawCall::kFillRect);
      ASSERT_EQ(fills.size(), 1u);
      EXPECT_EQ(fills[0].rect, (Rect{0, 0, rect.Width(), rect.Height()}));
      EXPECT_EQ(fills[0].brush, kTextBitmapColor);
      const auto texts = textBitmap.Of(DrawCall::kText);
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_EQ(texts[0].rect, (Rect{0, 0, rect.Width(), rect.Height()}));
      const Color expected = key == &a ? (r.down ? theme.DownChar : theme.HotChar)
                                       : (r.down ? theme.DownCaption : theme.HotCaption);
      EXPECT_EQ(texts[0].font.color, expected);
    }
  }
}

TEST_F(KeyFaceTest, WithoutATextBitmapGreenFaceLabelsAreDrawnDirectly) {
  RecordingBitmap canvas;
  canvas.SetBrush(kBackgroundFace);
  DrawKeyText(canvas, {3, 2, 29, 29}, u"Esc", kCentred, nullptr);
  EXPECT_EQ(canvas.Count(DrawCall::kText), 1u);
  // An empty rectangle through the bitmap draws nothing.
  RecordingBitmap bitmap;
  DrawKeyText(canvas, {10, 10, 10, 20}, u"x", kCentred, &bitmap);
  EXPECT_EQ(canvas.Count(DrawCall::kTransparent), 0u);
  EXPECT_TRUE(bitmap.calls.empty());
}

TEST_F(KeyFaceTest, EveryPositiveSizeIsDrawnAndNothingBelow) {
  SizeWatchingBitmap canvas;
  Key& esc = AddSquareKey(27, 0, 0, 30, &canvas);
  Key& a = AddSquareKey(65, 30, 0, 30, &canvas);
  Key& tiny = AddSquareKey(9, 60, 0, 15, &canvas);  // measures its name
  // The hover look adds 2 points to captions and 3 to characters, so a size
  // of 0 is drawn while hot.
  struct Row {
    std::uint16_t small, large;
    bool hot;
    std::size_t texts;  // Esc caption + A character + Tab caption
  } rows[] = {
      {1, 1, false, 3}, {0, 1, false, 1}, {1, 0, false, 2},
      {0, 0, false, 0}, {0, 0, true, 3},  {3, 2, true, 3},
  };
  for (const auto& r : rows) {
    theme.KeyFontSmall.Size = r.small;
    theme.KeyFontLarge.Size = r.large;
    for (Key* key : {&esc, &a, &tiny}) key->SetHot(r.hot);
    canvas.calls.clear();
    canvas.smallest = 1000;
    for (Key* key : {&esc, &a, &tiny}) key->Refresh();
    EXPECT_EQ(canvas.Count(DrawCall::kText), r.texts)
        << r.small << "/" << r.large << (r.hot ? " hot" : "");
    EXPECT_GE(canvas.smallest, 1) << "no size of nothing reaches the canvas";
  }
}

}  // namespace
}  // namespace luma
