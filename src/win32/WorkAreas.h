// The work areas (the screen less the taskbar and docked bars) of monitors.
#pragma once

#include <windows.h>

#include "platform/Types.h"

namespace luma::win32 {

luma::Rect MonitorWorkArea(HMONITOR monitor);
// Of the monitor nearest to a rectangle in screen pixels.
luma::Rect WorkAreaOfRect(const luma::Rect& rect);
// Of the monitor nearest to a window.
luma::Rect WorkAreaOfWindow(HWND window);
// Of the primary monitor.
luma::Rect PrimaryWorkArea();

}  // namespace luma::win32
