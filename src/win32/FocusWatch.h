// A move of the keyboard focus in any program, seen through an event hook:
// also a move between the fields a browser draws inside one window, which no
// window's focus shows. The window is told by a posted message, with the
// window the event came from in wParam.
#pragma once

#include <windows.h>

namespace luma::win32 {

class FocusWatch {
 public:
  FocusWatch() = default;
  ~FocusWatch() { Stop(); }
  FocusWatch(const FocusWatch&) = delete;
  FocusWatch& operator=(const FocusWatch&) = delete;

  // From now on, a focus move posts message to window. The calling thread
  // must pump messages for the events to arrive; false when the system
  // refused, or another watch of the program is running.
  bool Start(HWND window, UINT message);
  void Stop();

 private:
  static void CALLBACK Moved(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                             DWORD thread, DWORD time);

  // An event hook's procedure has no context of its own.
  static FocusWatch* running_;
  HWND window_ = nullptr;
  UINT message_ = 0;
  HWINEVENTHOOK hook_ = nullptr;
};

}  // namespace luma::win32
