// The GDI canvas against real GDI: draw into memory bitmaps, read pixels back.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "EmulatedSuites.h"
#include "platform/Types.h"
#include "win32/GdiCanvas.h"
#include "win32/TextBitmap.h"

namespace luma::win32 {
namespace {

constexpr Color kBackground = Rgb(10, 120, 200);
constexpr Color kPen = Rgb(200, 0, 0);
constexpr Color kBrush = Rgb(0, 0, 170);

// A bitmap of the given size filled with one color.
void Fill(GdiBitmap& bitmap, int width, int height, Color color) {
  bitmap.SetSize(width, height);
  bitmap.SetBrushClear(false);
  bitmap.SetBrush(color);
  bitmap.FillRect({0, 0, width, height});
}

int CountPixels(const GdiBitmap& bitmap, Color color, const Rect& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += bitmap.PixelAt(x, y) == color;
  return n;
}

// A named callback, not a lambda: the 32-bit build needs its stdcall convention.
int CALLBACK MarkFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM param) {
  *reinterpret_cast<bool*>(param) = true;
  return 0;
}

bool FontInstalled(const wchar_t* face) {
  HDC screen = GetDC(nullptr);
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  EnumFontFamiliesExW(screen, &query, MarkFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

struct ShapeCase {
  const char* name;
  bool roundRect;
  std::vector<Point> points;  // RoundRect: left-top, right-bottom
  Point border, interior, outside;
};

class GdiShapeTest : public ::testing::TestWithParam<ShapeCase> {};
LUMA_EMULATED_SUITE(GdiShapeTest);

TEST_P(GdiShapeTest, PenDrawsTheBorderAndBrushFillsTheFace) {
  const ShapeCase& c = GetParam();
  GdiBitmap bitmap;
  Fill(bitmap, 100, 100, kBackground);
  bitmap.SetPen(kPen);
  bitmap.SetBrush(kBrush);
  if (c.roundRect)
    bitmap.RoundRect(c.points[0].x, c.points[0].y, c.points[1].x, c.points[1].y, 5, 5);
  else
    bitmap.Polygon(c.points);

  EXPECT_EQ(bitmap.PixelAt(c.border.x, c.border.y), kPen);
  EXPECT_EQ(bitmap.PixelAt(c.interior.x, c.interior.y), kBrush);
  EXPECT_EQ(bitmap.PixelAt(c.outside.x, c.outside.y), kBackground);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, GdiShapeTest,
    ::testing::Values(
        // GDI excludes the right and bottom coordinates: the last column is 59.
        ShapeCase{"RoundRectTopEdge", true, {{10, 10}, {60, 40}}, {35, 10}, {35, 25}, {35, 5}},
        ShapeCase{"RoundRectRightEdge", true, {{10, 10}, {60, 40}}, {59, 25}, {58, 25}, {60, 25}},
        ShapeCase{"RoundRectOnePixelPen", true, {{10, 10}, {60, 40}}, {35, 39}, {35, 38}, {35, 40}},
        ShapeCase{
            "RoundRectCornerIsRounded", true, {{10, 10}, {60, 40}}, {10, 25}, {11, 25}, {10, 10}},
        ShapeCase{"Triangle", false, {{10, 50}, {60, 50}, {10, 90}}, {30, 50}, {15, 60}, {55, 85}},
        ShapeCase{"KeyOutline",
                  false,
                  {{0, 0}, {30, 0}, {30, 30}, {0, 30}},
                  {0, 15},
                  {15, 15},
                  {40, 15}}),
    [](const auto& param) { return std::string(param.param.name); });

class GdiBitmapTest : public ::testing::Test {};
LUMA_EMULATED_SUITE(GdiBitmapTest);

TEST_F(GdiBitmapTest, ClearBrushLeavesTheFaceAndFillRectAlone) {
  GdiBitmap bitmap;
  Fill(bitmap, 60, 60, kBackground);
  bitmap.SetPen(kPen);
  bitmap.SetBrush(kBrush);
  bitmap.SetBrushClear(true);
  bitmap.RoundRect(10, 10, 50, 50, 5, 5);
  bitmap.FillRect({0, 0, 5, 5});
  EXPECT_EQ(bitmap.PixelAt(30, 10), kPen);
  EXPECT_EQ(bitmap.PixelAt(30, 30), kBackground);
  EXPECT_EQ(bitmap.PixelAt(2, 2), kBackground);
}

TEST_F(GdiBitmapTest, SystemColorsResolveWhenDrawn) {
  for (unsigned index :
       {kColorBtnFace, kColorWindow, kColorWindowText, kColorHighlight, kColorBtnShadow}) {
    SCOPED_TRACE(index);
    GdiBitmap bitmap;
    Fill(bitmap, 20, 20, SysColor(index));
    EXPECT_EQ(bitmap.PixelAt(5, 5), GetSysColor(static_cast<int>(index)));

    Fill(bitmap, 20, 20, kBackground);
    bitmap.SetPen(SysColor(index));
    bitmap.SetBrush(kBrush);
    bitmap.Polygon({{2, 2}, {18, 2}, {18, 18}, {2, 18}});
    EXPECT_EQ(bitmap.PixelAt(10, 2), GetSysColor(static_cast<int>(index)));
  }
  GdiBitmap bitmap;
  Fill(bitmap, 20, 20, 0xFF00000F);
  EXPECT_EQ(bitmap.PixelAt(0, 0), GetSysColor(COLOR_BTNFACE));
}

TEST_F(GdiBitmapTest, TextIsClippedToItsRectangleOnATransparentBackground) {
  GdiBitmap bitmap;
  Fill(bitmap, 120, 60, kBackground);
  FontSpec font;
  font.name = "Tahoma";
  font.size = 14;
  font.bold = true;
  font.color = Rgb(255, 255, 0);
  bitmap.SetFont(font);
  const Rect box{10, 10, 40, 40};
  // Far wider than the box: left-aligned it runs past the right edge.
  bitmap.DrawText(u"HHHHHHHHHH", box, kDtLeft | kDtVCenter | kDtSingleLine | kDtNoPrefix);

  EXPECT_GT(CountPixels(bitmap, font.color, box), 10);
  const int width = bitmap.Width(), height = bitmap.Height();
  int outsideChanged = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool inside = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
      if (!inside) outsideChanged += bitmap.PixelAt(x, y) != kBackground;
    }
  EXPECT_EQ(outsideChanged, 0);
  // An opaque background would paint the DC's default white behind the glyphs.
  EXPECT_EQ(CountPixels(bitmap, Rgb(255, 255, 255), box), 0);
}

// A label is fitted to its key by its measured width; Wine draws small bold
// sizes wider than it measures them unless each glyph is placed.
TEST_F(GdiBitmapTest, ALineOfTextStaysWithinItsMeasuredWidth) {
  GdiBitmap bitmap;
  FontSpec font;
  font.name = "Tahoma";
  font.bold = true;
  font.color = Rgb(255, 255, 0);
  for (int points = 5; points <= 10; ++points) {
    for (const char16_t* text : {u"NumLk", u"Enter", u"Pause", u"PrtSc"}) {
      Fill(bitmap, 140, 30, kBackground);
      font.size = points;
      bitmap.SetFont(font);
      const int left = 10;
      const int width = bitmap.TextExtent(text).cx;
      bitmap.DrawText(text, {left, 0, 130, 30}, kDtLeft | kDtVCenter | kDtSingleLine | kDtNoPrefix);
      int rightmost = -1;
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 140; ++x)
          if (bitmap.PixelAt(x, y) != kBackground) rightmost = std::max(rightmost, x);
      EXPECT_GT(rightmost, left) << points;
      EXPECT_LE(rightmost, left + width) << points << " pt, width " << width;
    }
  }
}

TEST_F(GdiBitmapTest, TextColorMayBeASystemColor) {
  GdiBitmap bitmap;
  Fill(bitmap, 60, 30, Rgb(1, 2, 3));
  FontSpec font;
  font.size = 16;
  font.bold = true;
  font.color = SysColor(kColorHighlight);
  bitmap.SetFont(font);
  bitmap.DrawText(u"HH", {0, 0, 60, 30}, kDtCenter | kDtVCenter | kDtSingleLine);
  EXPECT_GT(CountPixels(bitmap, GetSysColor(COLOR_HIGHLIGHT), {0, 0, 60, 30}), 0);
}

TEST_F(GdiBitmapTest, FontSizeIsInPointsAtTheScreenResolution) {
  GdiBitmap bitmap;
  bitmap.SetSize(10, 10);
  const int dpi = GetDeviceCaps(bitmap.Dc(), LOGPIXELSY);
  FontSpec font;
  font.name = "Tahoma";
  font.bold = true;
  int lastWidth = 0, lastHeight = 0;
  for (int points : {6, 8, 10, 12, 18, 24, 36}) {
    SCOPED_TRACE(points);
    font.size = points;
    bitmap.SetFont(font);
    const Size extent = bitmap.TextExtent(u"Backsp");
    EXPECT_GT(extent.cx, lastWidth);
    EXPECT_GT(extent.cy, lastHeight);
    lastWidth = extent.cx;
    lastHeight = extent.cy;

    LOGFONTW selected{};
    ASSERT_TRUE(GetObjectW(GetCurrentObject(bitmap.Dc(), OBJ_FONT), sizeof(selected), &selected));
    EXPECT_EQ(selected.lfHeight, -MulDiv(points, dpi, 72));
    EXPECT_EQ(selected.lfWeight, FW_BOLD);
    EXPECT_STREQ(selected.lfFaceName, L"Tahoma");
    if (FontInstalled(L"Tahoma")) {
      wchar_t face[LF_FACESIZE] = {};
      GetTextFaceW(bitmap.Dc(), LF_FACESIZE, face);
      EXPECT_STREQ(face, L"Tahoma");
    }
  }
}

TEST_F(GdiBitmapTest, FontFollowsStyleChangesButNotColorChanges) {
  GdiBitmap bitmap;
  bitmap.SetSize(10, 10);
  FontSpec font;
  font.size = 12;
  bitmap.SetFont(font);
  const Size plain = bitmap.TextExtent(u"Shift");
  HGDIOBJ plainFont = GetCurrentObject(bitmap.Dc(), OBJ_FONT);

  font.color = Rgb(1, 2, 3);
  bitmap.SetFont(font);
  bitmap.TextExtent(u"Shift");
  EXPECT_EQ(GetCurrentObject(bitmap.Dc(), OBJ_FONT), plainFont);

  font.bold = true;
  bitmap.SetFont(font);
  EXPECT_GT(bitmap.TextExtent(u"Shift").cx, plain.cx);
  TEXTMETRICW metrics{};
  GetTextMetricsW(bitmap.Dc(), &metrics);
  EXPECT_EQ(metrics.tmWeight, FW_BOLD);
}

TEST_F(GdiBitmapTest, DrawTransparentLeavesTheTransparentColorOut) {
  GdiBitmap source;
  Fill(source, 20, 20, 0x777777);
  source.SetBrush(kPen);
  source.FillRect({5, 5, 10, 10});

  GdiBitmap target;
  Fill(target, 40, 40, kBrush);
  target.DrawTransparent(source, 10, 10, 0x777777);
  EXPECT_EQ(target.PixelAt(12, 12), kBrush);  // #777777 in the source
  EXPECT_EQ(target.PixelAt(29, 29), kBrush);
  EXPECT_EQ(target.PixelAt(17, 17), kPen);
  EXPECT_EQ(CountPixels(target, kPen, {0, 0, 40, 40}), 25);
  EXPECT_EQ(CountPixels(target, 0x777777, {0, 0, 40, 40}), 0);
}

TEST_F(GdiBitmapTest, DrawCopiesOneToOne) {
  GdiBitmap source;
  source.SetSize(16, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) {
      source.SetBrush(Rgb(x * 16, y * 20, (x * y) & 0xFF));
      source.FillRect({x, y, x + 1, y + 1});
    }
  GdiBitmap target;
  Fill(target, 30, 30, kBackground);
  target.Draw(source, 5, 7);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool inside = x >= 5 && x < 21 && y >= 7 && y < 19;
      const Color expected = inside ? source.PixelAt(x - 5, y - 7) : kBackground;
      ASSERT_EQ(target.PixelAt(x, y), expected) << x << "," << y;
    }

  // A part of it goes to the same place, nothing around it.
  GdiBitmap part;
  Fill(part, 30, 30, kBackground);
  part.DrawPart(source, {3, 2, 9, 6});
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool inside = x >= 3 && x < 9 && y >= 2 && y < 6;
      ASSERT_EQ(part.PixelAt(x, y), inside ? source.PixelAt(x, y) : kBackground) << x << "," << y;
    }
}

// A picture of a part of the client area (the keys below a row) is painted
// at its origin.
TEST_F(GdiBitmapTest, PaintBitmapCopiesOnlyTheAreaThatIsInTheBitmapAtItsOrigin) {
  const struct {
    luma::Point origin;
    luma::Rect painted;
  } rows[] = {{{0, 0}, {5, 5, 20, 10}}, {{0, 10}, {5, 10, 20, 20}}, {{0, 30}, {}}};
  for (const auto& r : rows) {
    GdiBitmap source;
    Fill(source, 20, 10, kPen);
    GdiBitmap target;
    Fill(target, 30, 30, kBackground);
    PaintBitmap(target.Dc(), source, RECT{5, 5, 25, 25}, r.origin);
    const int expected = r.painted.Width() * r.painted.Height();
    EXPECT_EQ(CountPixels(target, kPen, {0, 0, 30, 30}), expected) << r.origin.y;
    EXPECT_EQ(CountPixels(target, kPen, r.painted), expected) << r.origin.y;
  }
}

TEST_F(GdiBitmapTest, ResizeKeepsTheOverlapAndOddSizesAreHarmless) {
  GdiBitmap bitmap;
  Fill(bitmap, 10, 10, kPen);
  bitmap.SetSize(20, 5);
  EXPECT_EQ(bitmap.Width(), 20);
  EXPECT_EQ(bitmap.Height(), 5);
  EXPECT_EQ(bitmap.PixelAt(9, 4), kPen);
  EXPECT_EQ(bitmap.PixelAt(10, 4), 0u);  // new area starts black
  EXPECT_EQ(bitmap.PixelAt(0, 5), CLR_INVALID);
  EXPECT_EQ(bitmap.PixelAt(-1, 0), CLR_INVALID);

  bitmap.SetSize(-3, 7);
  EXPECT_EQ(bitmap.Width(), 0);
  EXPECT_EQ(bitmap.Height(), 0);
  bitmap.SetBrush(kBrush);
  bitmap.FillRect({0, 0, 5, 5});
  bitmap.RoundRect(0, 0, 5, 5, 5, 5);
  bitmap.Polygon({});
  bitmap.DrawText(u"x", {0, 0, 5, 5}, 0);
  GdiBitmap target;
  Fill(target, 5, 5, kBackground);
  target.Draw(bitmap, 0, 0);
  target.DrawTransparent(bitmap, 0, 0, 0);
  EXPECT_EQ(target.PixelAt(0, 0), kBackground);
}

TEST_F(GdiBitmapTest, SavedBmpLoadsBackWithTheSamePixels) {
  GdiBitmap bitmap;
  Fill(bitmap, 7, 3, kBackground);  // 7 * 3 bytes per row needs padding
  bitmap.SetBrush(kPen);
  bitmap.FillRect({6, 0, 7, 1});
  bitmap.SetBrush(kBrush);
  bitmap.FillRect({0, 2, 1, 3});

  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  const std::wstring path = std::wstring(dir) + L"lumatype-save-test.bmp";
  ASSERT_TRUE(bitmap.SaveBmp(path));
  HBITMAP loaded = static_cast<HBITMAP>(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  ASSERT_NE(loaded, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, loaded);
  EXPECT_EQ(GetPixel(dc, 6, 0), kPen);
  EXPECT_EQ(GetPixel(dc, 0, 2), kBrush);
  EXPECT_EQ(GetPixel(dc, 3, 1), kBackground);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(loaded);
  DeleteFileW(path.c_str());

  GdiBitmap empty;
  EXPECT_FALSE(empty.SaveBmp(path));
  EXPECT_FALSE(bitmap.SaveBmp(L"Z:\\no\\such\\directory\\x.bmp"));
}

TEST_F(GdiBitmapTest, TextBitmapPaintsInTheGreyThatIsLeftOut) {
  TextBitmap text;
  EXPECT_EQ(text.BrushColor(), kTextBitmapColor);
  text.SetSize(12, 12);
  text.FillRect({0, 0, 12, 12});
  GdiBitmap target;
  Fill(target, 12, 12, kBackground);
  target.DrawTransparent(text, 0, 0, kTextBitmapColor);
  EXPECT_EQ(CountPixels(target, kBackground, {0, 0, 12, 12}), 144);
}

}  // namespace
}  // namespace luma::win32
