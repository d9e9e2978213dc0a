#include "lib/KeyText.h"

namespace luma {

void DrawKeyText(DrawingCanvas& canvas, const Rect& rect, std::u16string_view text, unsigned format,
                 Bitmap* textBitmap) {
  if (canvas.BrushColor() != kPureGreen || textBitmap == nullptr) {
    canvas.DrawText(text, rect, format);
    return;
  }
  const std::int32_t width = rect.Width();
  const std::int32_t height = rect.Height();
  if (width <= 0 || height <= 0) return;  // clipped away entirely
  textBitmap->SetSize(width, height);
  textBitmap->SetFont(canvas.Font());
  textBitmap->SetPen(kTextBitmapColor);
  textBitmap->SetBrush(kTextBitmapColor);
  textBitmap->SetBrushClear(false);
  textBitmap->FillRect({0, 0, width, height});
  textBitmap->DrawText(text, {0, 0, width, height}, format);
  canvas.DrawTransparent(*textBitmap, rect.left, rect.top, kTextBitmapColor);
}

}  // namespace luma
