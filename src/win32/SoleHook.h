// A low-level hook held by one owner at a time. Its procedure has no context
// of its own, so it finds the owner here.
#pragma once

#include <windows.h>

namespace luma::win32 {

template <class Owner, int Kind>
class SoleHook {
 public:
  SoleHook() = default;
  ~SoleHook() { Remove(); }
  SoleHook(const SoleHook&) = delete;
  SoleHook& operator=(const SoleHook&) = delete;

  // On the calling thread, which must pump messages for the hook to run.
  // False when the system refused, or another owner holds the hook; a placed
  // hook stays.
  bool Place(Owner& owner, HOOKPROC procedure) {
    if (hook_) return true;
    if (owner_) return false;
    hook_ = SetWindowsHookExW(Kind, procedure, GetModuleHandleW(nullptr), 0);
    if (hook_) owner_ = &owner;
    return hook_ != nullptr;
  }
  void Remove() {
    if (!hook_) return;
    UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
    owner_ = nullptr;
  }
  bool Placed() const { return hook_ != nullptr; }
  // The owner of the placed hook; null when none is placed.
  static Owner* Holder() { return owner_; }

 private:
  inline static Owner* owner_ = nullptr;
  HHOOK hook_ = nullptr;
};

}  // namespace luma::win32
