// The window the foreground goes back to after the keyboard is restored from
// the taskbar: the topmost ordinary window the user could have been typing in.
#pragma once

#include <windows.h>

namespace luma::win32 {

// Visible, not self, not minimised, neither a tool window nor a
// non-activating one, and not owned by a visible window unless it has a
// taskbar button of its own.
bool IsRestoreTarget(HWND candidate, HWND self);

// The first top-level window in Z order that passes IsRestoreTarget; null if none.
HWND FindRestoreTarget(HWND self);

}  // namespace luma::win32
