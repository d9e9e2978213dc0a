// Moving the foreground to a window despite the system's foreground lock, and
// what kind of control has the keyboard focus in the window in front.
#pragma once

#include <windows.h>

namespace luma::win32 {

// Makes window the foreground window, showing it first when showIfHidden and
// it is hidden. The foreground lock time-out is zero only during the call.
void ForceForegroundWindow(HWND window, bool showIfHidden);

// The control with the keyboard focus in the foreground window's thread is
// an edit or rich edit control (also one a program derived from them) with
// the password style. False without a foreground window or focus. Controls
// that say so only through accessibility (browsers, WPF) are not seen here:
// see AccessiblePassword.h.
bool FocusedControlIsPassword();

}  // namespace luma::win32
