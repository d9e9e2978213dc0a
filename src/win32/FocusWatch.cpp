#include "win32/FocusWatch.h"

namespace luma::win32 {

FocusWatch* FocusWatch::running_ = nullptr;

bool FocusWatch::Start(HWND window, UINT message) {
  if (hook_) return true;
  if (running_) return false;
  window_ = window;
  message_ = message;
  // Out of context: the events come to this thread's queue, no code of this
  // program goes into the others.
  hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, &FocusWatch::Moved, 0, 0,
                          WINEVENT_OUTOFCONTEXT);
  if (hook_) running_ = this;
  return hook_ != nullptr;
}

void FocusWatch::Stop() {
  if (!hook_) return;
  UnhookWinEvent(hook_);
  hook_ = nullptr;
  if (running_ == this) running_ = nullptr;
}

void CALLBACK FocusWatch::Moved(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
  if (running_)
    PostMessageW(running_->window_, running_->message_, reinterpret_cast<WPARAM>(window), 0);
}

}  // namespace luma::win32
