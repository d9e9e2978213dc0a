// A press of a mouse button anywhere outside one window, seen through a
// low-level mouse hook: the window is told by a posted message, so that the
// hook itself returns at once and every press passes on untouched.
#pragma once

#include <windows.h>

#include "win32/SoleHook.h"

namespace luma::win32 {

class ClickWatch {
 public:
  ClickWatch() = default;
  ClickWatch(const ClickWatch&) = delete;
  ClickWatch& operator=(const ClickWatch&) = delete;

  // From now on, a press outside window posts message to it. On the calling
  // thread, which must pump messages for the hook to run; false when the
  // system refused, or another watch of the program is running.
  bool Start(HWND window, UINT message);
  void Stop() { hook_.Remove(); }
  bool Running() const { return hook_.Placed(); }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM message, LPARAM info);

  HWND window_ = nullptr;
  UINT message_ = 0;
  SoleHook<ClickWatch, WH_MOUSE_LL> hook_;
};

}  // namespace luma::win32
