#include "keyboard/Keyboard.h"

#include <algorithm>

#include "lib/KeyKinds.h"
#include "lib/BusyCursor.h"
#include "lib/KeyInput.h"
#include "theme/Theme.h"

namespace luma {

Keyboard::Keyboard(const KeyboardDeps& deps, Hkl foregroundHkl)
    : deps_(deps),
      paintBox_(&deps.screen),
      baseImage_(deps.bitmaps.CreateBitmap()),
      workImage_(deps.bitmaps.CreateBitmap()) {
  // With no keys yet and not shown, this only selects or builds the
  // layout's caption table.
  currentHkl_ = 0;
  SetHKL(foregroundHkl);
  width_ = paintBox_->Width();
  height_ = paintBox_->Height();
  Clear();
}

Keyboard::~Keyboard() {
  Clear();
  baseImage_.reset();
}

void Keyboard::Clear() {
  hotBtn_ = nullptr;
  for (int vk = 1; vk <= 255; ++vk) btns_[static_cast<std::size_t>(vk)].reset();
  layoutName_.clear();
  layoutComment_.clear();
  layoutInfo_.clear();
}

void Keyboard::CopyToScreen() {
  if (!paintingEnabled_) return;
  paintBox_->CopyFrom(*workImage_, Rect{0, 0, paintBox_->Width(), paintBox_->Height()});
}

void Keyboard::Redraw(bool rebuildBase) {
  if (rebuildBase) baseStale_ = true;
  if (!paintingEnabled_) return;

  // A base image of another size than the model no longer matches the keys.
  if (baseImage_->Width() != width_ || baseImage_->Height() != height_) baseStale_ = true;
  baseImage_->SetSize(width_, height_);

  if (baseStale_) {
    baseStale_ = false;
    baseImage_->SetBrush(HvTheme.BackColor);
    baseImage_->SetPen(HvTheme.BackPenColor);
    baseImage_->FillRect(Rect{0, 0, width_, height_});
    for (int vk = 1; vk <= 255; ++vk) {
      Key* key = btns_[static_cast<std::size_t>(vk)].get();
      if (key == nullptr) continue;
      key->ChooseColors(*baseImage_, false, false);
      key->Paint(*baseImage_, true);
    }
  }

  workImage_->Draw(*baseImage_, 0, 0);
  for (int vk = 1; vk <= 255; ++vk) {
    Key* key = btns_[static_cast<std::size_t>(vk)].get();
    if (key == nullptr) continue;
    // The working image now shows the rest look under every key.
    key->DrawnDown = false;
    key->DrawnHot = false;
    key->Refresh();
  }
  CopyToScreen();
}

void Keyboard::KeyDownChanged(Key& key) {
  UpdateKeyState(key.Code, key.Down);
  // Shift, Caps Lock and the like change every caption; an ordinary key
  // repaints alone and the caller copies to the screen later.
  if (luma::IsStateKey(key.Code))
    Redraw(false);
  else
    key.Refresh();
}

void Keyboard::UpdateKeyState(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  auto& entry = keyState_[static_cast<std::size_t>(vk)];
  if (vk == 20 || vk == 144 || vk == 145) {
    if (down) entry = entry == 1 ? 0 : 1;
    return;
  }
  entry = down ? 0x81 : 0;
  const auto combine = [this](std::size_t generic, std::size_t left, std::size_t right) {
    keyState_[generic] = (keyState_[left] != 0 || keyState_[right] != 0) ? 0x81 : 0;
  };
  if (vk == 160 || vk == 161) combine(16, 160, 161);
  if (vk == 162 || vk == 163) combine(17, 162, 163);
  if (vk == 164 || vk == 165) combine(18, 164, 165);
}

void Keyboard::TrackPointer(std::int32_t x, std::int32_t y) {
  bool part = false;
  if (hotBtn_ != nullptr && hotBtn_->HitTest(x, y, part)) return;
  ClearHot(false);
  for (int vk = 1; vk <= 255; ++vk) {
    Key* key = btns_[static_cast<std::size_t>(vk)].get();
    if (key == nullptr || !key->HitTest(x, y, part)) continue;
    hotBtn_ = key;
    key->Extended = part;
    key->SetHot(true);
    break;
  }
  CopyToScreen();
}

void Keyboard::ClearHot(bool copyNow) {
  if (hotBtn_ == nullptr) return;
  hotBtn_->SetHot(false);
  hotBtn_ = nullptr;
  EndBusyCursor(deps_.cursor, false);
  if (copyNow) CopyToScreen();
}

void Keyboard::ReleaseAll() {
  for (int vk = 1; vk <= 255; ++vk) {
    Key* key = btns_[static_cast<std::size_t>(vk)].get();
    if (key != nullptr) key->SetDown(false);
  }
  CopyToScreen();
}

void Keyboard::SetSize(std::int32_t height, std::int32_t width) {
  // A negative size means nothing to an image; it is held at 0.
  try {
    height_ = std::max(height, 0);
    width_ = std::max(width, 0);
    workImage_->SetSize(width_, height_);
  } catch (...) {
    // A size the image cannot take leaves the last good picture in place.
  }
}

void Keyboard::SetMarkerFaceLiteral(bool value) {
  markerFaceLiteral_ = value;
  Redraw(true);
}

bool Keyboard::IsKeyDown(int vk) const {
  const Key* key = Btn(vk);
  return key != nullptr && key->Down;
}

void Keyboard::SetShown(bool value) {
  if (value == shown_) return;
  shown_ = value;
  if (!value) return;
  ReleaseAll();
  SyncKeyState(deps_.sender, keyState_);
  // Forgetting the hover key must also take its hot look, or it would stay
  // hot with nothing left to clear it; the redraw below repaints it.
  if (hotBtn_ != nullptr) hotBtn_->Hot = false;
  hotBtn_ = nullptr;
  Redraw(false);
}

void Keyboard::SetPaintingEnabled(bool value) {
  if (value == paintingEnabled_) return;
  paintingEnabled_ = value;
  if (value) Redraw(false);
}

}  // namespace luma
