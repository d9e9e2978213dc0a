// Conversions between the system's RECT and the core's Rect, and the two
// rectangles of a window the shell keeps asking for.
#pragma once

#include <windows.h>

#include "platform/Types.h"

namespace luma::win32 {

inline luma::Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
inline RECT ToWinRect(const luma::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The outer rectangle in screen pixels.
inline luma::Rect WindowRectangle(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return ToRect(r);
}

// The client area, with its top-left corner at (0, 0).
inline luma::Rect ClientRectangle(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return ToRect(r);
}

}  // namespace luma::win32
