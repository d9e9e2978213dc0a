// The GDI canvas: off-screen bitmaps over a memory DC, their factory, and a
// window's client area as the keyboard's screen.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "win32/Handles.h"

namespace luma::win32 {

// 0xFF0000nn becomes GetSysColor(nn) now; an RGB color stays as it is.
COLORREF ResolveColor(luma::Color color);

// A memory DC with a 32-bpp top-down DIB section. Pen, brush and font reach
// GDI before each drawing call, so system colors follow the current scheme.
class GdiBitmap : public luma::Bitmap {
 public:
  GdiBitmap();
  ~GdiBitmap() override;
  GdiBitmap(const GdiBitmap&) = delete;
  GdiBitmap& operator=(const GdiBitmap&) = delete;

  void SetPen(luma::Color color) override { pen_ = color; }
  void SetBrush(luma::Color color) override { brush_ = color; }
  luma::Color BrushColor() const override { return brush_; }
  void SetBrushClear(bool clear) override { brushClear_ = clear; }
  bool BrushClear() const override { return brushClear_; }
  void SetFont(const luma::FontSpec& font) override;
  const luma::FontSpec& Font() const override { return font_; }

  void FillRect(const luma::Rect& rect) override;
  void RoundRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                 std::int32_t ellipseWidth, std::int32_t ellipseHeight) override;
  void Polygon(const std::vector<luma::Point>& points) override;
  luma::Size TextExtent(std::u16string_view text) override;
  void DrawText(std::u16string_view text, const luma::Rect& rect, unsigned format) override;
  void DrawTransparent(const luma::Bitmap& source, std::int32_t x, std::int32_t y,
                       luma::Color transparentColor) override;

  void SetSize(std::int32_t width, std::int32_t height) override;
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void Draw(const luma::Bitmap& source, std::int32_t x, std::int32_t y) override;
  void DrawPart(const luma::Bitmap& source, const luma::Rect& area) override;
  std::uint32_t* Pixels() override;

  HDC Dc() const { return dc_.Get(); }
  // The pixel as 0x00BBGGRR; CLR_INVALID outside the bitmap.
  luma::Color PixelAt(int x, int y) const;
  // Writes a 24-bpp bottom-up BMP file; false when it cannot be written.
  bool SaveBmp(const std::wstring& path) const;

 private:
  void SelectPen();
  void SelectBrush();
  void SelectFont();

  MemoryDc dc_;
  GdiObject<HBITMAP> dib_;
  HGDIOBJ initialBitmap_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;

  luma::Color pen_ = 0;
  luma::Color brush_ = 0xFFFFFF;
  bool brushClear_ = false;
  luma::FontSpec font_;
  // The fonts made so far, the one of font_ first once used. Keys switch
  // between a few faces (caption, character, each larger when hot) at every
  // paint; making a font anew each time costs more than the text itself.
  struct MadeFont {
    luma::FontSpec face;
    GdiObject<HFONT> font;
  };
  static constexpr std::size_t kMadeFonts = 8;
  std::vector<MadeFont> fonts_;
  HFONT selectedFont_ = nullptr;  // of font_; null until made
};

class GdiBitmapFactory : public luma::BitmapFactory {
 public:
  std::unique_ptr<luma::Bitmap> CreateBitmap() override;
};

// The client area of a window as the keyboard's screen.
// The part of a window's client area from origin on: what one picture of the
// client area (the keys, a row above them) is copied to.
class WindowScreen : public luma::Screen {
 public:
  explicit WindowScreen(HWND window) : window_(window) {}
  // Where the picture's 0, 0 lies in the client area.
  void SetOrigin(luma::Point origin) { origin_ = origin; }
  luma::Point Origin() const { return origin_; }
  std::int32_t Width() const override;
  std::int32_t Height() const override;
  void CopyFrom(const luma::Bitmap& source, const luma::Rect& rect) override;

 private:
  HWND window_;
  luma::Point origin_;
};

// Copies the part of source inside area (client pixels) to the same place of
// a DC, such as the one BeginPaint hands out, the source's 0, 0 at origin;
// what lies outside the bitmap stays untouched.
void PaintBitmap(HDC target, const luma::Bitmap& source, const RECT& area, luma::Point origin = {});

}  // namespace luma::win32
