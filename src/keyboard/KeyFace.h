// How a key paints its labels: the text primitive of both.
#pragma once

#include <string_view>

#include "platform/Canvas.h"
#include "platform/Types.h"

namespace luma {

// Draws text clipped to rect in the canvas's current font. On a brush of
// kBackgroundFace the text goes through textBitmap (when there is one), so
// that its anti-aliased edges blend with grey instead of with the green.
void DrawKeyText(DrawingCanvas& canvas, const Rect& rect, std::u16string_view text, unsigned format,
                 Bitmap* textBitmap);

// Where the marks go in a label box: the bar of a locked key across the top,
// and along the bottom the bar a hover's progress fills to permille of its
// length. A box too small for them has none (fits false).
struct LabelMarks {
  bool fits = false;
  Rect lockBar;
  Rect progressBar;
};
LabelMarks LabelMarksIn(const Rect& box, int permille);

}  // namespace luma
