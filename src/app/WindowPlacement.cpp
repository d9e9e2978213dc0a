#include "app/WindowPlacement.h"

#include "placement/LayoutSwitch.h"
#include "win32/Dpi.h"
#include "win32/Focus.h"
#include "win32/Rectangles.h"
#include "win32/RestoreTarget.h"
#include "win32/WorkAreas.h"

namespace luma::app {

void WindowPlacement::Attach(HWND window) {
  window_ = window;
  dpi_ = static_cast<std::int32_t>(win32::WindowDpi(window));
}

void WindowPlacement::SetDesignClientSize(std::int32_t width, std::int32_t height) {
  RECT frame{0, 0, ScaleForDpi(width, dpi_), ScaleForDpi(height, dpi_)};
  win32::AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
                                static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)),
                                static_cast<UINT>(dpi_));
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPlacement::ChangeDesignWidth(std::int32_t fromWidth, std::int32_t toWidth) {
  ChangeClientSize([&](Size client) {
    return Size{SwitchedClientWidth(client.cx, fromWidth, toWidth), client.cy};
  });
}

void WindowPlacement::ChangeClientHeight(
    const std::function<std::int32_t(std::int32_t)>& newHeight) {
  ChangeClientSize([&](Size client) { return Size{client.cx, newHeight(client.cy)}; });
}

void WindowPlacement::ChangeClientSize(const std::function<Size(Size)>& change) {
  const Size border = FrameSize();
  const auto changed = [&](std::int32_t outerWidth, std::int32_t outerHeight) {
    const Size client = change({outerWidth - border.cx, outerHeight - border.cy});
    return Size{client.cx + border.cx, client.cy + border.cy};
  };
  if (IsIconic(window_) || IsZoomed(window_)) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window_, &placement)) return;
    RECT& normal = placement.rcNormalPosition;
    const Size outer = changed(normal.right - normal.left, normal.bottom - normal.top);
    normal.right = normal.left + outer.cx;
    normal.bottom = normal.top + outer.cy;
    SetWindowPlacement(window_, &placement);
    return;
  }
  const Rect r = win32::WindowRectangle(window_);
  const Size outer = changed(r.Width(), r.Height());
  SetWindowPos(window_, nullptr, 0, 0, outer.cx, outer.cy,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitToWorkArea();
}

Size WindowPlacement::FrameSize() const {
  if (!IsIconic(window_)) {
    const Rect outer = win32::WindowRectangle(window_);
    const Rect client = win32::ClientRectangle(window_);
    return {outer.Width() - client.Width(), outer.Height() - client.Height()};
  }
  RECT frame{0, 0, 0, 0};
  win32::AdjustWindowRectForDpi(frame, static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE)),
                                static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE)),
                                static_cast<UINT>(dpi_));
  return {frame.right - frame.left, frame.bottom - frame.top};
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

PlacementWindow WindowPlacement::Describe() const {
  PlacementWindow described;
  char className[256];
  if (GetClassNameA(window_, className, sizeof className) > 0) described.className = className;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  GetWindowPlacement(window_, &placement);
  // The normal rectangle comes in workspace coordinates: relative to the
  // work area of its monitor, which a taskbar on the left or top shifts.
  RECT normal = placement.rcNormalPosition;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  if (GetMonitorInfoW(MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &monitor)) {
    OffsetRect(&normal, monitor.rcWork.left - monitor.rcMonitor.left,
               monitor.rcWork.top - monitor.rcMonitor.top);
  }
  described.left = normal.left;
  described.top = normal.top;
  described.width = normal.right - normal.left;
  described.height = normal.bottom - normal.top;
  described.state = IsIconic(window_)   ? WindowShowState::kMinimized
                    : IsZoomed(window_) ? WindowShowState::kMaximized
                                        : WindowShowState::kNormal;
  described.restoresToMaximized = (placement.flags & WPF_RESTORETOMAXIMIZED) != 0;
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
  described.sizeableBorder = (style & WS_THICKFRAME) != 0;
  described.maximizeBox = (style & WS_MAXIMIZEBOX) != 0;
  return described;
}

void WindowPlacement::Restore(const RestoredPlacement& placement) {
  // Saved in screen pixels: a monitor of another DPI under the saved place
  // does not rescale it.
  // Nothing saved yet reads back the window as it is: no move for that.
  const Rect now = win32::WindowRectangle(window_);
  if (now.left != placement.left || now.top != placement.top || now.Width() != placement.width ||
      now.Height() != placement.height) {
    restoring_ = true;
    SetWindowPos(window_, nullptr, placement.left, placement.top, placement.width, placement.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    restoring_ = false;
  }
  startMaximized_ = placement.maximized;
}

void WindowPlacement::ShowFirst(int command) {
  if (command == SW_SHOWMINNOACTIVE) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(window_, &placement);
    // A keyboard left maximised comes back maximised from the taskbar.
    if (startMaximized_) placement.flags |= WPF_RESTORETOMAXIMIZED;
    placement.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(window_, &placement);
    return;
  }
  if (command != SW_SHOWMAXIMIZED && !startMaximized_) {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    return;
  }
  // Maximising activates even a non-activating window; the application the
  // user was typing into gets the foreground back.
  HWND typingInto = GetForegroundWindow();
  ShowWindow(window_, SW_SHOWMAXIMIZED);
  if (typingInto && typingInto != window_ && GetForegroundWindow() == window_)
    win32::ForceForegroundWindow(typingInto, true);
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
  request.dpi = dpi_;
  request.keepProposed = takingSuggested_;
  const WindowPosAnswer answer = DecideWindowPos(request);
  workArea_ = answer.memory;
  pos.x = answer.x;
  pos.y = answer.y;
  if (answer.clearNoMove) pos.flags &= ~SWP_NOMOVE;
}

void WindowPlacement::OnDpiChanged(std::int32_t dpi, const RECT& suggested) {
  if (dpi > 0) dpi_ = dpi;
  if (restoring_) return;
  takingSuggested_ = true;
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  takingSuggested_ = false;
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
