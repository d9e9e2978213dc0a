// The keyboard's picture: a base image with every key at rest, the working
// image the keys paint on, and when which of it reaches the screen.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "theme/Theme.h"

namespace luma {

class Key;
class Keyboard;

class KeyPicture {
 public:
  // The keys and the size are the keyboard's; theme and textBitmap are read
  // at every paint. textBitmap: text on background faces; none: drawn directly.
  KeyPicture(Keyboard& keyboard, BitmapFactory& bitmaps, Screen& screen, const Theme& theme,
             Bitmap* textBitmap);
  KeyPicture(const KeyPicture&) = delete;
  KeyPicture& operator=(const KeyPicture&) = delete;

  // The whole working image to the screen.
  void CopyToScreen();
  // Only the areas keys repainted since the last copy: a hover or an
  // ordinary press costs the copy of a key or two, not of the picture.
  void CopyChanges();
  // A key repainted this area of the working image.
  void MarkChanged(const Rect& area);
  void Redraw(bool rebuildBase);
  // These areas of the working image as a redraw would paint them: the base
  // image copied back, then every key whose inside they reach painted
  // whole; for the caller to copy.
  void RestoreAreas(const std::vector<Rect>& areas);
  // A key went down or up. One that changes every caption (Shift, Caps Lock)
  // redraws the picture; any other repaints alone, for the caller to copy.
  void ShowKeyDown(Key& key);

  // Off, nothing is drawn or copied; switched on, the picture is redrawn.
  void SetPaintingEnabled(bool value);
  bool PaintingEnabled() const { return paintingEnabled_; }
  // A rest face of kBackgroundFace is drawn as the background, unless this
  // asks for the color itself.
  void SetBackgroundFaceDrawnAsColor(bool value);
  bool BackgroundFaceDrawnAsColor() const { return backgroundFaceDrawnAsColor_; }

  // Drawn over the working image before each copy; none by default.
  void SetOverlay(PictureOverlay* overlay) { overlay_ = overlay; }

  const Theme& KeyTheme() const { return theme_; }
  Bitmap* TextBitmap() const { return textBitmap_; }
  Bitmap& WorkImage() { return *workImage_; }

 private:
  Keyboard& keyboard_;
  Screen& screen_;
  const Theme& theme_;
  Bitmap* textBitmap_;
  bool paintingEnabled_ = true;
  bool backgroundFaceDrawnAsColor_ = false;
  std::unique_ptr<Bitmap> baseImage_;
  bool baseStale_ = true;
  std::unique_ptr<Bitmap> workImage_;
  // Areas of the working image the screen does not show yet, apart.
  std::vector<Rect> changed_;
  bool redrawing_ = false;
  PictureOverlay* overlay_ = nullptr;
};

}  // namespace luma
