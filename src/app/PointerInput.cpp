#include "app/PointerInput.h"

#include "app/TimerIds.h"
#include "win32/Rectangles.h"

namespace luma::app {

void PointerInput::Create(HWND window, Keyboard& keyboard, KeySender& sender, ClickSound* sound) {
  window_ = window;
  pressTimer_ = std::make_unique<win32::WindowTimer>(window, kPressTimer);
  hoverTimer_ = std::make_unique<win32::WindowTimer>(window, kHoverTimer);
  input_.Attach({keyboard, sender, *pressTimer_, *hoverTimer_, *this, *this, sound});
}

void PointerInput::OnButtonDown(MouseButton button, std::int32_t x, std::int32_t y) {
  input_.PointerDown(button, x, y);
}

void PointerInput::OnButtonUp(MouseButton button) { input_.PointerUp(button); }

void PointerInput::OnMove(std::int32_t x, std::int32_t y, WPARAM keys) {
  const bool buttonsDown =
      (keys & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2)) != 0;
  const Rect client = win32::ClientRectangle(window_);
  const bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
  input_.PointerMove(x, y, inside, buttonsDown);
}

void PointerInput::OnCaptureChanged(HWND newOwner) {
  if (newOwner != window_) input_.CaptureLost();
}

void PointerInput::CapturePointer() { SetCapture(window_); }

void PointerInput::ReleasePointer() {
  if (GetCapture() == window_) ReleaseCapture();
}

void PointerInput::WatchForLeave() {
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
  TrackMouseEvent(&track);
}

Point PointerInput::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

Point PointerInput::WindowPos() { return placement_.Position(); }

void PointerInput::MoveWindowLeftTo(std::int32_t left) { placement_.MoveLeftTo(left); }

void PointerInput::MoveWindowTopTo(std::int32_t top) { placement_.MoveTopTo(top); }

// No child keeps the keyboard focus: the window is never active, so a
// focused slider would only swallow keys meant for elsewhere.
void PointerInput::UnfocusChildControls() {
  HWND focus = GetFocus();
  if (focus && IsChild(window_, focus)) SetFocus(nullptr);
}

}  // namespace luma::app
