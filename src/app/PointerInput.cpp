#include "app/PointerInput.h"

#include "app/TimerIds.h"
#include "win32/Rectangles.h"

namespace luma::app {

void PointerInput::Create(HWND window, Keyboard& keyboard, KeySender& sender, ClickSound* sound) {
  window_ = window;
  pressTimer_ = std::make_unique<win32::WindowTimer>(window, kPressTimer);
  press_ =
      std::make_unique<PressLogic>(keyboard, sender, *pressTimer_, static_cast<PressHost&>(*this));
  press_->SetAutoClick(autoClick_);
  press_->SetClickSound(sound);
  hoverTimer_ = std::make_unique<win32::WindowTimer>(window, kHoverTimer);
  hover_ = std::make_unique<HoverClick>(keyboard, *press_, *hoverTimer_);
  hover_->SetHoverTime(static_cast<std::uint32_t>(hoverTimeMs_));
  hover_->SetEnabled(hoverClick_);
}

void PointerInput::OnButtonDown(MouseButton button, std::int32_t x, std::int32_t y) {
  if (!press_) return;
  // The capture keeps the moves coming while a key is held or the window
  // dragged, also outside the window.
  if (button == MouseButton::Left) SetCapture(window_);
  TrackLeave();
  hover_->ButtonDown();
  press_->MouseDown(button, x, y);
}

void PointerInput::OnButtonUp(MouseButton button) {
  if (!press_) return;
  press_->MouseUp();
  hover_->ButtonUp();
  if (button == MouseButton::Left && GetCapture() == window_) ReleaseCapture();
}

void PointerInput::OnMove(std::int32_t x, std::int32_t y, WPARAM keys) {
  if (!press_) return;
  const bool buttonsDown =
      (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) != 0;
  if (!buttonsDown) press_->NoButtonDown();
  // A drag lasts while the button holds the capture: one quick step may land
  // outside the window before it has followed.
  if (press_->Dragging()) {
    press_->MouseMove(x, y);
    return;
  }
  const Rect client = win32::ClientRectangle(window_);
  const bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
  if (!inside) {
    // Only seen while the capture is held: a held key is released on leaving
    // the keyboard area, as it is without the capture.
    if (inside_) OnLeave();
    press_->MouseMove(x, y);
    return;
  }
  TrackLeave();
  press_->MouseMove(x, y);
  hover_->PointerMoved(buttonsDown);
}

void PointerInput::OnLeave() {
  inside_ = false;
  if (hover_) hover_->Leave();
  // With the capture the leave notice can come while dragging; the drag goes on.
  if (!press_ || press_->Dragging()) return;
  press_->MouseLeave();
}

void PointerInput::OnCaptureChanged(HWND newOwner) {
  if (!press_ || newOwner == window_) return;
  press_->MouseUp();
  hover_->ButtonUp();
}

void PointerInput::EndPress() {
  if (press_) {
    hover_->Leave();
    press_->MouseUp();
    // Nobody sees a latched or locked modifier now: it would only shift
    // the user's own typing.
    press_->ReleaseHeldKeys();
  }
  if (GetCapture() == window_) ReleaseCapture();
}

void PointerInput::OnPressTimer() {
  if (press_) press_->PressTimerTick();
}

void PointerInput::OnHoverTimer() {
  if (hover_) hover_->TimerTick();
}

void PointerInput::SetHoverClick(bool on) {
  hoverClick_ = on;
  if (hover_) hover_->SetEnabled(on);
}

void PointerInput::SetHoverTime(std::int32_t ms) {
  hoverTimeMs_ = ms;
  if (hover_) hover_->SetHoverTime(static_cast<std::uint32_t>(ms));
}

void PointerInput::SetAutoClick(bool on) {
  autoClick_ = on;
  if (press_) press_->SetAutoClick(on);
}

void PointerInput::ReleaseHeldKeys() {
  if (hover_) hover_->Leave();
  if (pressTimer_) pressTimer_->Stop();
  if (press_) press_->ReleaseHeldKeys();
}

void PointerInput::TrackLeave() {
  if (inside_) return;
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
  TrackMouseEvent(&track);
  inside_ = true;
}

Point PointerInput::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

Point PointerInput::WindowPos() { return placement_.Position(); }

void PointerInput::SetWindowLeft(std::int32_t left) { placement_.MoveLeftTo(left); }

void PointerInput::SetWindowTop(std::int32_t top) { placement_.MoveTopTo(top); }

// No child keeps the keyboard focus: the window is never active, so a
// focused slider would only swallow keys meant for elsewhere.
void PointerInput::UnfocusChildControls() {
  HWND focus = GetFocus();
  if (focus && IsChild(window_, focus)) SetFocus(nullptr);
}

}  // namespace luma::app
