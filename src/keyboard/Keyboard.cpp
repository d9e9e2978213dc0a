#include "keyboard/Keyboard.h"

#include <algorithm>

#include "keys/KeyInput.h"
#include "keys/KeyKinds.h"
#include "keys/VirtualKeys.h"

namespace luma {

namespace {

// Extents of the built-in layout at its design size, lent to a layout that
// lacks the key, scaled by the keyboard's size.
constexpr std::int32_t kBuiltInWidth = 441;
constexpr std::int32_t kBuiltInHeight = 181;
constexpr std::int32_t kBuiltInEscapeWidth = 30;
constexpr std::int32_t kBuiltInEscapeHeight = 30;
constexpr std::int32_t kBuiltInRightShiftWidth = 60;
constexpr std::int32_t kBuiltInSpaceBarHeight = 30;

std::int32_t ScaledExtent(std::int32_t extent, std::int32_t size, std::int32_t designSize) {
  return static_cast<std::int32_t>(std::int64_t{extent} * size / designSize);
}

}  // namespace

Keyboard::Keyboard(const KeyboardDeps& deps, Hkl foregroundHkl)
    : deps_(deps),
      screen_(&deps.screen),
      baseImage_(deps.bitmaps.CreateBitmap()),
      workImage_(deps.bitmaps.CreateBitmap()) {
  // With no keys yet and not shown, this only selects or builds the
  // layout's caption table.
  SetHKL(foregroundHkl);
  width_ = screen_->Width();
  height_ = screen_->Height();
  Clear();
}

Keyboard::~Keyboard() {
  Clear();
  baseImage_.reset();
}

void Keyboard::Clear() {
  hoverKey_ = nullptr;
  for (auto& key : keys_) key.reset();
  layoutName_.clear();
  layoutComment_.clear();
  layoutInfo_.clear();
}

void Keyboard::CopyToScreen() {
  if (!paintingEnabled_) return;
  screen_->CopyFrom(*workImage_, Rect{0, 0, screen_->Width(), screen_->Height()});
}

void Keyboard::Redraw(bool rebuildBase) {
  if (rebuildBase) baseStale_ = true;
  if (!paintingEnabled_) return;

  // A base image of another size than the model no longer matches the keys.
  if (baseImage_->Width() != width_ || baseImage_->Height() != height_) baseStale_ = true;
  baseImage_->SetSize(width_, height_);

  if (baseStale_) {
    baseStale_ = false;
    baseImage_->SetBrush(deps_.theme.BackColor);
    baseImage_->SetPen(deps_.theme.BackPenColor);
    baseImage_->FillRect(Rect{0, 0, width_, height_});
    for (auto& key : keys_) {
      if (key == nullptr) continue;
      key->ChooseColors(*baseImage_, false, false);
      key->Paint(*baseImage_, true);
    }
  }

  workImage_->Draw(*baseImage_, 0, 0);
  for (auto& key : keys_) {
    if (key == nullptr) continue;
    key->MarkDrawnAtRest();
    key->Refresh();
  }
  CopyToScreen();
}

void Keyboard::KeyDownChanged(Key& key) {
  UpdateKeyState(key.Code(), key.IsDown());
  // Shift, Caps Lock and the like change every caption; an ordinary key
  // repaints alone and the caller copies to the screen later.
  if (key.IsStateKey())
    Redraw(false);
  else
    key.Refresh();
}

void Keyboard::UpdateKeyState(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  auto& entry = keyState_[static_cast<std::size_t>(vk)];
  if (vk == kVkCapsLock || vk == kVkNumLock || vk == kVkScrollLock) {
    if (down) entry = entry == 1 ? 0 : 1;
    return;
  }
  entry = down ? 0x81 : 0;
  // The generic entry is down while either sided key is.
  const auto combine = [this](int generic, int left, int right) {
    keyState_[static_cast<std::size_t>(generic)] =
        (keyState_[static_cast<std::size_t>(left)] != 0 ||
         keyState_[static_cast<std::size_t>(right)] != 0)
            ? 0x81
            : 0;
  };
  if (vk == kVkLeftShift || vk == kVkRightShift) combine(kVkShift, kVkLeftShift, kVkRightShift);
  if (vk == kVkLeftCtrl || vk == kVkRightCtrl) combine(kVkCtrl, kVkLeftCtrl, kVkRightCtrl);
  if (vk == kVkLeftAlt || vk == kVkRightAlt) combine(kVkAlt, kVkLeftAlt, kVkRightAlt);
}

std::uint8_t Keyboard::KeyStateEntry(int vk) const {
  return (vk >= 0 && vk <= 255) ? keyState_[static_cast<std::size_t>(vk)] : 0;
}

void Keyboard::TrackPointer(std::int32_t x, std::int32_t y) {
  bool part = false;
  if (hoverKey_ != nullptr && hoverKey_->HitTest(x, y, part)) return;
  ClearHot(false);
  for (auto& key : keys_) {
    if (key == nullptr || !key->HitTest(x, y, part)) continue;
    hoverKey_ = key.get();
    key->SetSecondPartHit(part);
    key->SetHot(true);
    break;
  }
  CopyToScreen();
}

void Keyboard::ClearHot(bool copyNow) {
  if (hoverKey_ == nullptr) return;
  hoverKey_->SetHot(false);
  hoverKey_ = nullptr;
  deps_.busyCursor.End();
  if (copyNow) CopyToScreen();
}

void Keyboard::ReleaseAll() {
  for (auto& key : keys_)
    if (key != nullptr) key->SetDown(false);
  CopyToScreen();
}

void Keyboard::SetSize(std::int32_t width, std::int32_t height) {
  // A negative size means nothing to an image; it is held at 0. A size the
  // image cannot take throws, for the window's boundary to report.
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  workImage_->SetSize(width_, height_);
}

void Keyboard::ScaleToClient(std::int32_t width, std::int32_t height) {
  SetSize(width, height);
  if (layoutWidth_ <= 0 || layoutHeight_ <= 0) return;
  const long double kx = static_cast<long double>(width_) / static_cast<long double>(layoutWidth_);
  const long double ky =
      static_cast<long double>(height_) / static_cast<long double>(layoutHeight_);
  for (auto& key : keys_)
    if (key != nullptr) key->ScaleOutline(kx, ky);
}

const Key* Keyboard::OutlinedKey(int vk) const {
  const Key* key = KeyFor(vk);
  return (key != nullptr && key->PointCount() >= 2) ? key : nullptr;
}

Size Keyboard::EscapeKeySize() const {
  if (const Key* escape = OutlinedKey(kVkEscape))
    return {escape->OutlineWidth(), escape->OutlineHeight()};
  return {ScaledExtent(kBuiltInEscapeWidth, width_, kBuiltInWidth),
          ScaledExtent(kBuiltInEscapeHeight, height_, kBuiltInHeight)};
}

std::int32_t Keyboard::RightShiftWidth() const {
  if (const Key* shift = OutlinedKey(kVkRightShift)) return shift->OutlineWidth();
  return ScaledExtent(kBuiltInRightShiftWidth, width_, kBuiltInWidth);
}

std::int32_t Keyboard::SpaceBarHeight() const {
  if (const Key* space = OutlinedKey(kVkSpace)) return space->OutlineHeight();
  return ScaledExtent(kBuiltInSpaceBarHeight, height_, kBuiltInHeight);
}

void Keyboard::SetGreenRestFaceDrawn(bool value) {
  greenRestFaceDrawn_ = value;
  Redraw(true);
}

int Keyboard::SentCode(int vk) const {
  const int navigation = NumLockOffCode(vk);
  return navigation != 0 && (keyState_[kVkNumLock] & 1) == 0 ? navigation : vk;
}

bool Keyboard::IsKeyDown(int vk) const {
  const Key* key = KeyFor(vk);
  return key != nullptr && key->IsDown();
}

void Keyboard::SetShown(bool value) {
  if (value == shown_) return;
  shown_ = value;
  if (!value) return;
  ReleaseAll();
  SyncKeyState(deps_.sender, keyState_);
  // Forgetting the hover key must also take its hot look, or it would stay
  // hot with nothing left to clear it; the redraw below repaints it.
  if (hoverKey_ != nullptr) hoverKey_->SetHot(false);
  hoverKey_ = nullptr;
  Redraw(false);
}

void Keyboard::SetPaintingEnabled(bool value) {
  if (value == paintingEnabled_) return;
  paintingEnabled_ = value;
  if (value) Redraw(false);
}

}  // namespace luma
