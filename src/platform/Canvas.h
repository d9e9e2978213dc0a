// The drawing surface the keys and the keyboard model paint on. One GDI
// implementation over a memory DC (win32/), recording fakes in the tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/Types.h"

namespace luma {

class Bitmap;

// The grey of the bitmap that key text on kBackgroundFace faces goes through: its
// fill, and the color left out when it is copied onto a face.
inline constexpr Color kTextBitmapColor = Rgb(0x77, 0x77, 0x77);

class DrawingCanvas {
 public:
  virtual ~DrawingCanvas() = default;

  // Pen: 1 pixel, solid. Brush: solid unless cleared (text without background).
  virtual void SetPen(Color color) = 0;
  virtual void SetBrush(Color color) = 0;
  virtual Color BrushColor() const = 0;
  virtual void SetBrushClear(bool clear) = 0;
  virtual bool BrushClear() const = 0;
  virtual void SetFont(const FontSpec& font) = 0;
  virtual const FontSpec& Font() const = 0;

  virtual void FillRect(const Rect& rect) = 0;  // with the brush, no outline
  virtual void RoundRect(std::int32_t left, std::int32_t top, std::int32_t right,
                         std::int32_t bottom, std::int32_t ellipseWidth,
                         std::int32_t ellipseHeight) = 0;
  virtual void Polygon(const std::vector<Point>& points) = 0;

  // Extent of a single line of text in the current font.
  virtual Size TextExtent(std::u16string_view text) = 0;
  // Text in the current font and color, transparent background, laid out
  // and clipped by DrawTextExW's format flags.
  virtual void DrawText(std::u16string_view text, const Rect& rect, unsigned format) = 0;
  // Copies source onto this canvas at (x, y), leaving the pixels of
  // transparentColor in the source out.
  virtual void DrawTransparent(const Bitmap& source, std::int32_t x, std::int32_t y,
                               Color transparentColor) = 0;
};

// An off-screen image with a canvas of its own.
class Bitmap : public DrawingCanvas {
 public:
  virtual void SetSize(std::int32_t width, std::int32_t height) = 0;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  // Plain source copy of the whole of source at (x, y).
  virtual void Draw(const Bitmap& source, std::int32_t x, std::int32_t y) = 0;
  // Plain source copy of area of source to the same place of this one.
  virtual void DrawPart(const Bitmap& source, const Rect& area) = 0;
  // The pixels as 0x00RRGGBB, Width() to a row, the top row first, with
  // every drawing call so far in them; none: this bitmap's pixels cannot be
  // reached, and what would change them pixel by pixel is left out.
  virtual std::uint32_t* Pixels() { return nullptr; }
};

// Drawn over a picture once the picture has drawn itself, before each copy
// to the screen, so that what lies on top survives the picture's repaints.
class PictureOverlay {
 public:
  virtual ~PictureOverlay() = default;
  // area: the part of image about to be copied, in image pixels.
  virtual void DrawOver(Bitmap& image, const Rect& area) = 0;
};

class BitmapFactory {
 public:
  virtual ~BitmapFactory() = default;
  virtual std::unique_ptr<Bitmap> CreateBitmap() = 0;
};

// The screen: the window area that shows the keyboard picture.
class Screen {
 public:
  virtual ~Screen() = default;
  virtual std::int32_t Width() const = 0;
  virtual std::int32_t Height() const = 0;
  // Copies rect of source to the same rectangle of the screen, 1:1.
  virtual void CopyFrom(const Bitmap& source, const Rect& rect) = 0;
};

}  // namespace luma
