#include "win32/ClickWatch.h"

namespace luma::win32 {

ClickWatch* ClickWatch::running_ = nullptr;

bool ClickWatch::Start(HWND window, UINT message) {
  if (hook_) return true;
  if (running_) return false;
  window_ = window;
  message_ = message;
  hook_ = SetWindowsHookExW(WH_MOUSE_LL, &ClickWatch::Watch, GetModuleHandleW(nullptr), 0);
  if (hook_) running_ = this;
  return hook_ != nullptr;
}

void ClickWatch::Stop() {
  if (!hook_) return;
  UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  if (running_ == this) running_ = nullptr;
}

LRESULT CALLBACK ClickWatch::Watch(int code, WPARAM message, LPARAM info) {
  const bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN ||
                     message == WM_MBUTTONDOWN || message == WM_XBUTTONDOWN;
  if (code == HC_ACTION && press && running_ && info) {
    const POINT at = reinterpret_cast<const MSLLHOOKSTRUCT*>(info)->pt;
    const HWND hit = WindowFromPoint(at);
    if (!hit || GetAncestor(hit, GA_ROOT) != running_->window_)
      PostMessageW(running_->window_, running_->message_, 0, 0);
  }
  return CallNextHookEx(nullptr, code, message, info);
}

}  // namespace luma::win32
