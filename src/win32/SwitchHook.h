// The switch keys, watched on every keyboard of the system: a low-level
// keyboard hook that hands their presses and releases to the program and
// keeps them from the application in front. The program's own keys (those
// carrying its mark) and every other key pass untouched.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "win32/SoleHook.h"

namespace luma::win32 {

class SwitchHook {
 public:
  // vk: the switch key; down: pressed (a held key repeats its downs);
  // timeMs: the event's time stamp.
  using Handler = std::function<void(std::uint16_t vk, bool down, std::uint32_t timeMs)>;

  explicit SwitchHook(Handler handler) : handler_(std::move(handler)) {}
  SwitchHook(const SwitchHook&) = delete;
  SwitchHook& operator=(const SwitchHook&) = delete;

  // The keys taken for the switch; none: every key passes.
  void SetKeys(std::vector<std::uint16_t> keys) { keys_ = std::move(keys); }
  // On the calling thread, which must pump messages for the hook to run.
  // False when the system refused, or another hook of the program is in
  // place; an installed hook stays.
  bool Install() { return hook_.Place(*this, &SwitchHook::Watch); }
  void Uninstall() { hook_.Remove(); }
  bool Installed() const { return hook_.Placed(); }

 private:
  static LRESULT CALLBACK Watch(int code, WPARAM message, LPARAM info);
  // True when the key was a switch key and is taken.
  bool Take(WPARAM message, const KBDLLHOOKSTRUCT& key);

  Handler handler_;
  std::vector<std::uint16_t> keys_;
  SoleHook<SwitchHook, WH_KEYBOARD_LL> hook_;
};

}  // namespace luma::win32
