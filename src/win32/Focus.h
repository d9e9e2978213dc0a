// Moving the foreground to a window despite the system's foreground lock.
#pragma once

#include <windows.h>

namespace luma::win32 {

// Makes window the foreground window, showing it first when showIfHidden and
// it is hidden. The foreground lock time-out is zero only during the call.
void ForceForegroundWindow(HWND window, bool showIfHidden);

}  // namespace luma::win32
