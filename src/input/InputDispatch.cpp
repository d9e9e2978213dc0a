#include "input/InputDispatch.h"

#include <algorithm>
#include <utility>

#include "placement/ClientRegions.h"

namespace luma {

void InputDispatch::Attach(const InputParts& parts) {
  // Both or neither: every event goes to the two.
  auto press =
      std::make_unique<PressLogic>(parts.keyboard, parts.sender, parts.pressTimer, parts.pressHost);
  auto hover = std::make_unique<HoverClick>(static_cast<HoverTargets&>(*this), parts.hoverTimer);
  window_ = &parts.window;
  keyboard_ = &parts.keyboard;
  sound_ = parts.sound;
  press_ = std::move(press);
  hover_ = std::move(hover);
  press_->SetTypingListener(typingListener_);
  Steer(true);
}

void InputDispatch::SetTypingListener(TypingListener* listener) {
  typingListener_ = listener;
  if (press_) press_->SetTypingListener(listener);
}

void InputDispatch::EndTypingWithoutKey() {
  if (press_) press_->EndTypingWithoutKey();
}

Target InputDispatch::TargetAt(std::int32_t x, std::int32_t y) const {
  if (const std::optional<Target> item = ItemTargetAt({x, y})) return *item;
  if (keyboard_ == nullptr) return {};
  const KeyHit hit = keyboard_->KeyAt(x - keyOrigin_.x, y - keyOrigin_.y);
  return hit.key != nullptr ? Target::Key(hit.key->Code(), hit.secondPart) : Target{};
}

int InputDispatch::AreaAt(Point p) const {
  for (std::size_t i = 0; i < areas_.size(); ++i)
    if (Contains(areas_[i]->Bounds(), p)) return static_cast<int>(i);
  return -1;
}

std::optional<Target> InputDispatch::ItemTargetAt(Point p) const {
  const int area = AreaAt(p);
  if (area < 0) return std::nullopt;
  const int item = areas_[static_cast<std::size_t>(area)]->ItemAt(p);
  return item >= 0 ? Target::Item(area, item) : Target{};
}

void InputDispatch::Click(const Target& target) {
  if (!press_) return;
  switch (target.kind) {
    case Target::Kind::Key:
      press_->ClickKey(target.id, target.secondPart);
      break;
    case Target::Kind::Item:
      if (press_->Busy() || target.area < 0 ||
          static_cast<std::size_t>(target.area) >= areas_.size())
        return;
      PlayClick();
      areas_[static_cast<std::size_t>(target.area)]->Choose(target.id);
      break;
    case Target::Kind::None:
      break;
  }
}

void InputDispatch::PointerDown(MouseButton button, std::int32_t x, std::int32_t y) {
  if (!press_) return;
  // Only the left button holds a key down or drags the window.
  if (button == MouseButton::Left) window_->CapturePointer();
  EnterWindow();
  hover_->ButtonDown();
  if (const std::optional<Target> item = ItemTargetAt({x, y})) {
    if (item->kind == Target::Kind::Item)
      Click(*item);
    else
      press_->BackgroundDown(button);
    return;
  }
  press_->MouseDown(button, x - keyOrigin_.x, y - keyOrigin_.y);
}

void InputDispatch::PointerUp(MouseButton button) {
  if (!press_) return;
  press_->MouseUp();
  hover_->ButtonUp();
  if (button == MouseButton::Left) window_->ReleasePointer();
}

void InputDispatch::PointerMove(std::int32_t x, std::int32_t y, bool inside, bool buttonsDown) {
  if (!press_) return;
  if (!buttonsDown) press_->NoButtonDown();
  // A drag lasts while the button holds the capture: one quick step may land
  // outside the window before it has followed.
  if (press_->Dragging()) {
    press_->MouseMove(x, y);
    return;
  }
  if (!inside) {
    // Only seen while the capture is held: a held key is released on leaving
    // the keyboard area, as it is without the capture.
    if (inside_) PointerLeave();
    press_->MouseMove(x - keyOrigin_.x, y - keyOrigin_.y);
    return;
  }
  EnterWindow();
  pointer_ = {x, y};
  press_->MouseMove(x - keyOrigin_.x, y - keyOrigin_.y);
  ShowHotItem(pointer_);
  hover_->PointerMoved(buttonsDown);
}

void InputDispatch::ShowHotItem(Point p) {
  const int at = AreaAt(p);
  for (std::size_t i = 0; i < areas_.size(); ++i)
    areas_[i]->SetHot(static_cast<int>(i) == at ? areas_[i]->ItemAt(p) : -1);
}

Target InputDispatch::Hovered() const {
  if (!press_ || press_->Dragging() || !inside_) return {};
  if (const std::optional<Target> item = ItemTargetAt(pointer_)) return *item;
  const Key* key = keyboard_->HoverKey();
  if (key == nullptr) return {};
  const KeyHit hit = keyboard_->KeyAt(pointer_.x - keyOrigin_.x, pointer_.y - keyOrigin_.y);
  return Target::Key(key->Code(), hit.key == key && hit.secondPart);
}

void InputDispatch::ShowProgress(const Target& target, int permille) {
  if (target.kind == Target::Kind::Item) {
    if (target.area >= 0 && static_cast<std::size_t>(target.area) < areas_.size())
      areas_[static_cast<std::size_t>(target.area)]->ShowProgress(target.id, permille);
    return;
  }
  Key* key = keyboard_->KeyFor(target.id);
  if (key == nullptr || key->HoverProgress() == permille) return;
  key->SetHoverProgress(permille);
  keyboard_->Picture().CopyChanges();
}

void InputDispatch::PlayClick() {
  if (options_.clickSound && sound_ != nullptr) sound_->Play();
}

void InputDispatch::PointerLeave() {
  inside_ = false;
  if (!press_) return;
  hover_->Leave();
  for (ItemArea* area : areas_) area->SetHot(-1);
  // With the capture the leave notice can come while dragging; the drag goes on.
  if (press_->Dragging()) return;
  press_->MouseLeave();
}

void InputDispatch::CaptureLost() {
  if (!press_) return;
  press_->MouseUp();
  hover_->ButtonUp();
}

void InputDispatch::EndPress() {
  if (!press_) return;
  hover_->Leave();
  press_->MouseUp();
  // Nobody sees a latched or locked modifier now: it would only shift
  // the user's own typing.
  press_->ReleaseHeldKeys();
  window_->ReleasePointer();
}

void InputDispatch::ReleaseHeldKeys() {
  if (!press_) return;
  hover_->Leave();
  // Stops the press timer too.
  press_->ReleaseHeldKeys();
}

void InputDispatch::PressTimerTick() {
  if (press_) press_->PressTimerTick();
}

void InputDispatch::HoverTimerTick() {
  if (hover_) hover_->TimerTick();
}

void InputDispatch::ApplyOptions(const Options& options) {
  const bool hoverSwitched = options.hoverClick != options_.hoverClick;
  options_ = options;
  if (press_) Steer(hoverSwitched);
}

void InputDispatch::Steer(bool switchHover) {
  press_->SetKeyRepeat(options_.keyRepeat);
  press_->SetClickSound(options_.clickSound ? sound_ : nullptr);
  hover_->SetHoverTime(static_cast<std::uint32_t>(std::max(options_.hoverTimeMs, 0)));
  // Switching it on starts a hover on the key under the pointer; another
  // option chosen leaves a hover as it is.
  if (switchHover) hover_->SetEnabled(options_.hoverClick);
}

void InputDispatch::EnterWindow() {
  if (inside_) return;
  window_->WatchForLeave();
  inside_ = true;
}

}  // namespace luma
