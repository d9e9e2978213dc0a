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

// More areas than this are copied as one: each copy is a call to the system.
constexpr std::size_t kMaxChangedAreas = 4;

bool Empty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

// Overlapping or edge to edge: one copy serves both.
bool Touch(const Rect& a, const Rect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

Rect Union(const Rect& a, const Rect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

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
  changed_.clear();
  screen_->CopyFrom(*workImage_, Rect{0, 0, screen_->Width(), screen_->Height()});
}

void Keyboard::CopyChanges() {
  if (!paintingEnabled_) return;
  // Each area is held to the screen as it is now: the window may have
  // shrunk since the key was painted.
  const Rect screen{0, 0, screen_->Width(), screen_->Height()};
  for (const Rect& area : changed_) {
    const Rect r{std::max(area.left, screen.left), std::max(area.top, screen.top),
                 std::min(area.right, screen.right), std::min(area.bottom, screen.bottom)};
    if (!Empty(r)) screen_->CopyFrom(*workImage_, r);
  }
  changed_.clear();
}

void Keyboard::MarkChanged(const Rect& area) {
  if (redrawing_) return;
  const Rect image{0, 0, width_, height_};
  Rect r{std::max(area.left, image.left), std::max(area.top, image.top),
         std::min(area.right, image.right), std::min(area.bottom, image.bottom)};
  if (Empty(r)) return;
  // Merged with every area it touches, which may then touch others.
  for (auto it = changed_.begin(); it != changed_.end();) {
    if (Touch(*it, r)) {
      r = Union(*it, r);
      changed_.erase(it);
      it = changed_.begin();
    } else {
      ++it;
    }
  }
  changed_.push_back(r);
  if (changed_.size() > kMaxChangedAreas) {
    for (const Rect& other : changed_) r = Union(r, other);
    changed_.assign(1, r);
  }
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
  {
    // The whole picture goes to the screen: no key's area needs keeping,
    // until the redraw ends, also by an exception.
    struct Reset {
      bool& flag;
      ~Reset() { flag = false; }
    } reset{redrawing_};
    redrawing_ = true;
    for (auto& key : keys_) {
      if (key == nullptr) continue;
      key->MarkDrawnAtRest();
      key->Refresh();
    }
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
    CopyChanges();
    return;
  }
  ClearHot(false);
  if (const KeyHit hit = KeyAt(x, y); hit.key != nullptr) {
    hoverKey_ = hit.key;
    hit.key->SetSecondPartHit(hit.secondPart);
    hit.key->SetHot(true);
  }
  CopyChanges();
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
  if (copyNow) CopyChanges();
}

void Keyboard::ReleaseAll() {
  for (auto& key : keys_)
    if (key != nullptr) key->SetDown(false);
  CopyChanges();
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

void Keyboard::FollowSystemToggles() {
  KeyStateArray system{};
  deps_.sender.GetKeyboardState(system);
  bool changed = false;
  for (const int vk : kLockKeys) {
    const auto i = static_cast<std::size_t>(vk);
    const std::uint8_t toggled = system[i] & 1;
    if ((keyState_[i] & 1) == toggled) continue;
    keyState_[i] = toggled;
    changed = true;
  }
  // The pad's captions and every letter may read differently now.
  if (changed) Redraw(false);
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
