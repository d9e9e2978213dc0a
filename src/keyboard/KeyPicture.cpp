#include "keyboard/KeyPicture.h"

#include <algorithm>

#include "keyboard/Key.h"
#include "keyboard/Keyboard.h"

namespace luma {

namespace {

// More areas than this are copied as one: each copy is a call to the system.
constexpr std::size_t kMaxChangedAreas = 4;

bool IsEmptyArea(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

// Overlapping or edge to edge: one copy serves both.
bool AreasTouch(const Rect& a, const Rect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

Rect AreaAround(const Rect& a, const Rect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

Rect Intersection(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

}  // namespace

KeyPicture::KeyPicture(Keyboard& keyboard, BitmapFactory& bitmaps, Screen& screen,
                       const Theme& theme, Bitmap* textBitmap)
    : keyboard_(keyboard),
      screen_(screen),
      theme_(theme),
      textBitmap_(textBitmap),
      baseImage_(bitmaps.CreateBitmap()),
      workImage_(bitmaps.CreateBitmap()) {}

void KeyPicture::CopyToScreen() {
  if (!paintingEnabled_) return;
  changed_.clear();
  const Rect screen{0, 0, screen_.Width(), screen_.Height()};
  if (overlay_) overlay_->DrawOver(*workImage_, screen);
  screen_.CopyFrom(*workImage_, screen);
}

void KeyPicture::CopyChanges() {
  if (!paintingEnabled_) return;
  // Each area is held to the screen as it is now: the window may have
  // shrunk since the key was painted.
  const Rect screen{0, 0, screen_.Width(), screen_.Height()};
  for (const Rect& area : changed_) {
    const Rect r = Intersection(area, screen);
    if (IsEmptyArea(r)) continue;
    if (overlay_) overlay_->DrawOver(*workImage_, r);
    screen_.CopyFrom(*workImage_, r);
  }
  changed_.clear();
}

void KeyPicture::MarkChanged(const Rect& area) {
  if (redrawing_) return;
  Rect r = Intersection(area, Rect{0, 0, keyboard_.Width(), keyboard_.Height()});
  if (IsEmptyArea(r)) return;
  // Merged with every area it touches, which may then touch others.
  for (auto it = changed_.begin(); it != changed_.end();) {
    if (AreasTouch(*it, r)) {
      r = AreaAround(*it, r);
      changed_.erase(it);
      it = changed_.begin();
    } else {
      ++it;
    }
  }
  changed_.push_back(r);
  if (changed_.size() > kMaxChangedAreas) {
    for (const Rect& other : changed_) r = AreaAround(r, other);
    changed_.assign(1, r);
  }
}

void KeyPicture::Redraw(bool rebuildBase) {
  if (rebuildBase) baseStale_ = true;
  if (!paintingEnabled_) return;

  const std::int32_t width = keyboard_.Width(), height = keyboard_.Height();
  // A base image of another size than the keyboard no longer matches the keys.
  if (baseImage_->Width() != width || baseImage_->Height() != height) baseStale_ = true;
  baseImage_->SetSize(width, height);

  if (baseStale_) {
    baseStale_ = false;
    baseImage_->SetBrush(theme_.BackColor);
    baseImage_->SetPen(theme_.BackPenColor);
    baseImage_->FillRect(Rect{0, 0, width, height});
    for (int vk = 1; vk <= 255; ++vk) {
      Key* key = keyboard_.KeyFor(vk);
      if (key == nullptr) continue;
      key->ChooseColors(*baseImage_, false, false);
      key->Paint(*baseImage_, true);
    }
  }

  workImage_->Draw(*baseImage_, 0, 0);
  {
    // The whole picture goes to the screen: no key's area needs keeping,
    // until the redraw ends, also by an exception.
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{redrawing_};
    redrawing_ = true;
    for (int vk = 1; vk <= 255; ++vk) {
      Key* key = keyboard_.KeyFor(vk);
      if (key == nullptr) continue;
      key->MarkDrawnAtRest();
      key->Refresh();
    }
  }
  CopyToScreen();
}

void KeyPicture::RestoreAreas(const std::vector<Rect>& areas) {
  const Rect picture{0, 0, keyboard_.Width(), keyboard_.Height()};
  if (!paintingEnabled_ || baseStale_ || baseImage_->Width() != picture.right ||
      baseImage_->Height() != picture.bottom)
    return;
  std::vector<Rect> restored;
  for (const Rect& area : areas) {
    const Rect r = Intersection(area, picture);
    if (IsEmptyArea(r)) continue;
    workImage_->DrawPart(*baseImage_, r);
    MarkChanged(r);
    restored.push_back(r);
  }
  for (int vk = 1; vk <= 255; ++vk) {
    Key* key = keyboard_.KeyFor(vk);
    if (key == nullptr) continue;
    // A border alone comes back with the base image; whatever lies inside
    // a key is painted by the key.
    const std::vector<Rect> parts = key->PaintAreas();
    const bool reached = std::any_of(parts.begin(), parts.end(), [&](const Rect& part) {
      const Rect inside{part.left + 1, part.top + 1, part.right - 2, part.bottom - 2};
      return std::any_of(restored.begin(), restored.end(),
                         [&](const Rect& r) { return !IsEmptyArea(Intersection(inside, r)); });
    });
    if (!reached) continue;
    key->ChooseColors(*workImage_, false, false);
    key->Paint(*workImage_, true);
    key->MarkDrawnAtRest();
    key->Refresh();
  }
}

void KeyPicture::ShowKeyDown(Key& key) {
  if (key.IsStateKey())
    Redraw(false);
  else
    key.Refresh();
}

void KeyPicture::SetPaintingEnabled(bool value) {
  if (value == paintingEnabled_) return;
  paintingEnabled_ = value;
  if (value) Redraw(false);
}

void KeyPicture::SetBackgroundFaceDrawnAsColor(bool value) {
  backgroundFaceDrawnAsColor_ = value;
  Redraw(true);
}

}  // namespace luma
