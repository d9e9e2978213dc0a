#include "app/WindowPlacement.h"

#include "win32/Focus.h"
#include "win32/Rectangles.h"
#include "win32/RestoreTarget.h"
#include "win32/WorkAreas.h"

namespace luma::app {

void WindowPlacement::SetClientSize(std::int32_t width, std::int32_t height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)));
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPlacement::PlaceDefault() {
  const Rect r = win32::WindowRectangle(window_);
  MoveTo(DefaultPlacement(win32::WorkAreaOfWindow(window_), r.Width(), r.Height()));
}

void WindowPlacement::FitToWorkArea() {
  if (IsIconic(window_) || IsZoomed(window_)) return;
  const Rect r = win32::WindowRectangle(window_);
  const Point p =
      luma::FitToWorkArea({r.left, r.top, r.Width(), r.Height()}, win32::WorkAreaOfRect);
  if (!(p == Point{r.left, r.top})) MoveTo(p);
}

void WindowPlacement::OnWindowPosChanging(WINDOWPOS& pos) {
  const Rect r = win32::WindowRectangle(window_);
  HMONITOR monitor = MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST);
  WindowPosRequest request;
  request.current = {r.left, r.top, r.Width(), r.Height()};
  request.x = pos.x;
  request.y = pos.y;
  request.width = pos.cx;
  request.height = pos.cy;
  request.noMove = (pos.flags & SWP_NOMOVE) != 0;
  request.noSize = (pos.flags & SWP_NOSIZE) != 0;
  request.primaryWorkArea = win32::PrimaryWorkArea();
  request.monitor = reinterpret_cast<std::uintptr_t>(monitor);
  request.monitorWorkArea = win32::MonitorWorkArea(monitor);
  request.memory = workArea_;
  const WindowPosAnswer answer = DecideWindowPos(request);
  workArea_ = answer.memory;
  pos.x = answer.x;
  pos.y = answer.y;
  if (answer.clearNoMove) pos.flags &= ~SWP_NOMOVE;
}

void WindowPlacement::OnSize(WPARAM kind) {
  if (kind == SIZE_MINIMIZED) {
    minimised_ = true;
    return;
  }
  if (!minimised_) return;
  minimised_ = false;
  if (HWND target = win32::FindRestoreTarget(window_)) win32::ForceForegroundWindow(target, true);
}

Point WindowPlacement::Position() const {
  const Rect r = win32::WindowRectangle(window_);
  return {r.left, r.top};
}

void WindowPlacement::MoveLeftTo(std::int32_t left) { MoveTo({left, Position().y}); }

void WindowPlacement::MoveTopTo(std::int32_t top) { MoveTo({Position().x, top}); }

void WindowPlacement::MoveTo(Point position) {
  SetWindowPos(window_, nullptr, position.x, position.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace luma::app
