#include "input/InputDispatch.h"

#include <algorithm>
#include <utility>

namespace luma {

void InputDispatch::Attach(const InputParts& parts) {
  // Both or neither: every event goes to the two.
  auto press =
      std::make_unique<PressLogic>(parts.keyboard, parts.sender, parts.pressTimer, parts.pressHost);
  auto hover = std::make_unique<HoverClick>(parts.keyboard, *press, parts.hoverTimer);
  window_ = &parts.window;
  sound_ = parts.sound;
  press_ = std::move(press);
  hover_ = std::move(hover);
  Steer(true);
}

void InputDispatch::PointerDown(MouseButton button, std::int32_t x, std::int32_t y) {
  if (!press_) return;
  // Only the left button holds a key down or drags the window.
  if (button == MouseButton::Left) window_->CapturePointer();
  EnterWindow();
  hover_->ButtonDown();
  press_->MouseDown(button, x, y);
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
    press_->MouseMove(x, y);
    return;
  }
  EnterWindow();
  press_->MouseMove(x, y);
  hover_->PointerMoved(buttonsDown);
}

void InputDispatch::PointerLeave() {
  inside_ = false;
  if (!press_) return;
  hover_->Leave();
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
  press_->SetAutoClick(options_.keyRepeat);
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
