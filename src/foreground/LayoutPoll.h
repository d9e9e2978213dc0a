// Following the keyboard layout of the application in the foreground and the
// system's lock toggles: read every 300 ms while the keyboard can be seen,
// not at all while it is minimised.
#pragma once

#include <cstdint>

#include "keyboard/Keyboard.h"
#include "platform/System.h"

namespace luma {

class LayoutPoll {
 public:
  static constexpr std::uint32_t kIntervalMs = 300;

  LayoutPoll(Keyboard& keyboard, Timer& timer, ForegroundLayout& foreground)
      : keyboard_(keyboard), timer_(timer), foreground_(foreground) {}

  // The keyboard can be seen (again): the layout is read at once, then at
  // every tick. Nothing happens while the poll already runs.
  void Resume();
  // Minimised: no timer runs until Resume.
  void Pause();
  // The timer fired. An unchanged layout costs the read and nothing more.
  void Tick();

 private:
  Keyboard& keyboard_;
  Timer& timer_;
  ForegroundLayout& foreground_;
};

}  // namespace luma
