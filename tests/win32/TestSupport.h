// Shared pieces of the Win32 tests: a recording top-level window and a
// message pump with a hang guard.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "win32/Window.h"

namespace luma::win32::test {

struct Message {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// Pumps this thread's messages until done() or timeoutMs has passed.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 2000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

// Until nothing is waiting in the queue: what the last step posted or sent
// has been handled.
inline bool PumpUntilIdle(DWORD timeoutMs = 5000) {
  return PumpUntil([] { return GetQueueStatus(QS_ALLINPUT) == 0; }, timeoutMs);
}

// A plain top-level window that records the messages the tests look at.
class RecordingWindow : public BaseWindow<RecordingWindow> {
 public:
  explicit RecordingWindow(const wchar_t* title = L"Lumatype test", DWORD exStyle = 0,
                           DWORD style = WS_OVERLAPPEDWINDOW) {
    RegisterWindowClass(kClassName);
    CreateWindowHandle(exStyle, kClassName, title, style, 100, 100, 300, 200);
  }
  ~RecordingWindow() {
    if (Handle()) DestroyWindow(Handle());
  }

  std::vector<Message> keys;     // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
  std::vector<UINT_PTR> timers;  // WM_TIMER ids
  bool sawNcCreate = false;
  bool sawNcDestroy = false;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_NCCREATE:
        sawNcCreate = true;
        break;
      case WM_NCDESTROY:
        sawNcDestroy = true;
        break;
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_SYSKEYDOWN:
      case WM_SYSKEYUP:
        keys.push_back({message, wParam, lParam});
        // Alt alone would open the (absent) window menu; keep the test window quiet.
        if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) return 0;
        break;
      case WM_TIMER:
        timers.push_back(wParam);
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
  }

 private:
  static constexpr const wchar_t* kClassName = L"LumatypeTestWindow";
};

// Shows window and gives it the foreground and the keyboard focus.
inline bool Activate(HWND window) {
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  return PumpUntil([window] { return GetForegroundWindow() == window && GetFocus() == window; });
}

}  // namespace luma::win32::test
