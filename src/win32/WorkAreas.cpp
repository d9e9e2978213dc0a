#include "win32/WorkAreas.h"

#include "win32/Rectangles.h"

namespace luma::win32 {

luma::Rect MonitorWorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  return ToRect(info.rcWork);
}

luma::Rect WorkAreaOfRect(const luma::Rect& rect) {
  const RECT r = ToWinRect(rect);
  return MonitorWorkArea(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST));
}

luma::Rect WorkAreaOfWindow(HWND window) {
  return MonitorWorkArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}

luma::Rect PrimaryWorkArea() {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return ToRect(r);
}

}  // namespace luma::win32
