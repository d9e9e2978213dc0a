// The bitmap that key text on kBackgroundFace faces goes through.
#pragma once

#include "platform/Canvas.h"
#include "win32/GdiCanvas.h"

namespace luma::win32 {

// The bitmap for text on kBackgroundFace faces: brush and pen #777777, drawn
// with #777777 as its transparent color. The program owns one and hands it
// to the keyboard.
class TextBitmap : public GdiBitmap {
 public:
  TextBitmap() {
    SetBrush(luma::kTextBitmapColor);
    SetPen(luma::kTextBitmapColor);
  }
};

}  // namespace luma::win32
