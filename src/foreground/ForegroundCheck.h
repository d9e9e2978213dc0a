// Whether the window in front can be typed into, looked at as each key goes down
// and at every layout poll, and said when that changes.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "platform/Integrity.h"
#include "platform/System.h"

namespace luma {

class ForegroundCheck {
 public:
  // changed(cannotType) runs whenever the answer for the window in front
  // differs from the last one.
  ForegroundCheck(IntegrityProbe& probe, std::function<void(bool)> changed)
      : probe_(probe), changed_(std::move(changed)) {}

  // Looks at the foreground window. Each window is asked about once:
  // opening a process and its token costs system calls, and a window's
  // process never changes.
  void Update();
  // A window of a higher level, or one whose level cannot be read, is in front.
  bool CannotType() const { return cannotType_; }

 private:
  IntegrityProbe& probe_;
  std::function<void(bool)> changed_;
  // Forgotten when full: windows come and go, and their handles with them.
  static constexpr std::size_t kRemembered = 32;
  std::map<WindowId, bool> answers_;
  WindowId window_ = 0;
  bool cannotType_ = false;
};

// Sends through another sender, checking the window in front as each key
// goes down; its key-up follows at once, and the layout poll sees any window
// that comes between. The key goes out first and whatever the answer: saying
// it (a new title, a dimmed redraw) takes milliseconds no key should wait
// for, and the check may be wrong, and a key held back that would have
// arrived costs more than one that is lost.
class CheckingKeySender : public KeySender {
 public:
  CheckingKeySender(KeySender& sender, ForegroundCheck& check) : sender_(sender), check_(check) {}
  std::uint16_t ScanCode(std::uint16_t vk) override { return sender_.ScanCode(vk); }
  void Send(const KeyEvent& event) override {
    sender_.Send(event);
    if ((event.flags & kKeyEventKeyUp) == 0) check_.Update();
  }
  void GetKeyboardState(KeyStateArray& state) override { sender_.GetKeyboardState(state); }

 private:
  KeySender& sender_;
  ForegroundCheck& check_;
};

}  // namespace luma
