// The Win32 implementations of the system services the portable core works
// through, owned once by the main window and lent to its parts.
#pragma once

#include "win32/Integrity.h"
#include "win32/Win32System.h"

namespace luma::app {

struct SystemServices {
  win32::Win32KeyboardLayouts layouts;
  win32::Win32KeySender sender;
  win32::Win32Cursor cursor;
  win32::Win32SystemColors colors;
  win32::Win32IntegrityProbe integrity;
};

}  // namespace luma::app
