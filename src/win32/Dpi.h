// The DPI of windows and of the system. Windows 10 (1607) has per-window
// calls for it; older systems have one DPI for everything, the screen's
// LOGPIXELSX. The newer calls are looked up at run time so that the program
// still starts where they are missing.
#pragma once

#include <windows.h>

namespace luma::win32 {

// GetDpiForWindow, else the system DPI.
UINT WindowDpi(HWND window);
// GetDpiForSystem, else LOGPIXELSX of the screen.
UINT SystemDpi();
// What GDI turns font points into pixels with: LOGPIXELSY of the screen,
// which memory DCs share.
UINT FontDpi();
// The window rectangle around a client rectangle: AdjustWindowRectExForDpi,
// else AdjustWindowRectEx at the system's one DPI.
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);

}  // namespace luma::win32
