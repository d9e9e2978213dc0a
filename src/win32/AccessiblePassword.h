// Whether the focused element of a window takes a password, as accessibility
// tells it: UI Automation where the system has it, else the password state of
// the control's accessible object. Browsers, WPF and other programs that draw
// their own fields say so only there, not by an edit control's style.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace luma::win32 {

// On the calling thread, which has COM initialised. The call goes into the
// program that owns focus and waits for it: never on a window's thread.
// False when nothing answers.
bool AccessibilitySaysPassword(HWND focus);

// Asks AccessibilitySaysPassword on a thread of its own and posts the answer
// to a window: message with the question's number in wParam and 1 or 0 in
// lParam. Only the latest question waits; one not yet begun is replaced.
class PasswordQuestions {
 public:
  PasswordQuestions(HWND window, UINT message);
  // Never waits for a call in flight: the thread ends by itself after it,
  // posting nothing more.
  ~PasswordQuestions();
  PasswordQuestions(const PasswordQuestions&) = delete;
  PasswordQuestions& operator=(const PasswordQuestions&) = delete;

  void Ask(HWND focus, std::uint32_t question);

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable wake;
    HWND window = nullptr;  // null once the owner is gone
    UINT message = 0;
    HWND focus = nullptr;
    std::uint32_t question = 0;
    bool waiting = false;
  };
  static void Answer(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> shared_;
  bool started_ = false;
};

}  // namespace luma::win32
