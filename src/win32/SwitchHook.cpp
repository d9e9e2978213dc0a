#include "win32/SwitchHook.h"

#include <algorithm>

#include "platform/System.h"

namespace luma::win32 {

LRESULT CALLBACK SwitchHook::Watch(int code, WPARAM message, LPARAM info) {
  SwitchHook* installed = decltype(hook_)::Holder();
  if (code == HC_ACTION && installed && info &&
      installed->Take(message, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(info)))
    return 1;  // the application in front never sees it
  return CallNextHookEx(nullptr, code, message, info);
}

bool SwitchHook::Take(WPARAM message, const KBDLLHOOKSTRUCT& key) {
  // A switch key the keyboard types itself is typing, not the switch.
  if ((key.flags & LLKHF_INJECTED) && key.dwExtraInfo == kOwnKeyEventMark) return false;
  const auto vk = static_cast<std::uint16_t>(key.vkCode);
  if (std::find(keys_.begin(), keys_.end(), vk) == keys_.end()) return false;
  const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  if (handler_) handler_(vk, down, key.time);
  return true;
}

}  // namespace luma::win32
