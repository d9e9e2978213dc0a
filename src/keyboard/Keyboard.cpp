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
    : sender_(deps.sender),
      picture_(*this, deps.bitmaps, deps.screen, deps.theme, deps.textBitmap),
      captions_(*this, deps.layouts, deps.captions) {
  // With no keys yet and not shown, this only selects or builds the
  // layout's caption table.
  captions_.SetHKL(foregroundHkl);
  width_ = deps.screen.Width();
  height_ = deps.screen.Height();
  Clear();
}

Keyboard::~Keyboard() { Clear(); }

void Keyboard::Clear() {
  hoverKey_ = nullptr;
  for (auto& key : keys_) key.reset();
  layoutName_.clear();
  layoutComment_.clear();
  layoutInfo_.clear();
}

void Keyboard::KeyDownChanged(Key& key) {
  UpdateKeyState(key.Code(), key.IsDown());
  picture_.ShowKeyDown(key);
}

void Keyboard::UpdateKeyState(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  auto& entry = keyState_[static_cast<std::size_t>(vk)];
  if (IsLockKey(vk)) {
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
  if (hoverKey_ != nullptr && hoverKey_->HitTest(x, y, part)) {
    // A jump from one part of a two-part key to the other stays on the key.
    hoverKey_->SetSecondPartHit(part);
    picture_.CopyChanges();
    return;
  }
  ClearHot(false);
  if (const KeyHit hit = KeyAt(x, y); hit.key != nullptr) {
    hoverKey_ = hit.key;
    hit.key->SetSecondPartHit(hit.secondPart);
    hit.key->SetHot(true);
  }
  picture_.CopyChanges();
}

KeyHit Keyboard::KeyAt(std::int32_t x, std::int32_t y) {
  for (auto& key : keys_) {
    bool part = false;
    if (key != nullptr && key->HitTest(x, y, part)) return {key.get(), part};
  }
  return {};
}

void Keyboard::ClearHot(bool copyNow) {
  if (hoverKey_ == nullptr) return;
  hoverKey_->SetHot(false);
  hoverKey_ = nullptr;
  if (copyNow) picture_.CopyChanges();
}

void Keyboard::ReleaseAll() {
  for (auto& key : keys_)
    if (key != nullptr) key->SetDown(false);
  picture_.CopyChanges();
}

void Keyboard::SetSize(std::int32_t width, std::int32_t height) {
  // A negative size means nothing to an image; it is held at 0. A size the
  // image cannot take throws, for the window's boundary to report.
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  picture_.WorkImage().SetSize(width_, height_);
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

void Keyboard::FollowSystemToggles() {
  KeyStateArray system{};
  sender_.GetKeyboardState(system);
  bool changed = false;
  for (const int vk : kLockKeys) {
    const auto i = static_cast<std::size_t>(vk);
    const std::uint8_t toggled = system[i] & 1;
    if ((keyState_[i] & 1) == toggled) continue;
    keyState_[i] = toggled;
    changed = true;
  }
  // The pad's captions and every letter may read differently now.
  if (changed) picture_.Redraw(false);
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
  SyncKeyState(sender_, keyState_);
  // Forgetting the hover key must also take its hot look, or it would stay
  // hot with nothing left to clear it; the redraw below repaints it.
  if (hoverKey_ != nullptr) hoverKey_->SetHot(false);
  hoverKey_ = nullptr;
  picture_.Redraw(false);
}

}  // namespace luma
