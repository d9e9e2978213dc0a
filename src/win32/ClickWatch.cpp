#include "win32/ClickWatch.h"

namespace luma::win32 {

bool ClickWatch::Start(HWND window, UINT message) {
  if (hook_.Placed()) return true;
  window_ = window;
  message_ = message;
  return hook_.Place(*this, &ClickWatch::Watch);
}

LRESULT CALLBACK ClickWatch::Watch(int code, WPARAM message, LPARAM info) {
  const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
                     message == WM_MBUTTONDOWN || message == WM_XBUTTONDOWN;
  const ClickWatch* running = decltype(hook_)::Holder();
  if (code == HC_ACTION && press && running && info) {
    const POINT at = reinterpret_cast<const MSLLHOOKSTRUCT*>(info)->pt;
    const HWND hit = WindowFromPoint(at);
    if (!hit || GetAncestor(hit, GA_ROOT) != running->window_)
      PostMessageW(running->window_, running->message_, 0, 0);
  }
  return CallNextHookEx(nullptr, code, message, info);
}

}  // namespace luma::win32
