// The program's own items at the end of the window's system menu, their
// check marks, and what each command does.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "input/InputDispatch.h"

namespace luma::app {

class SystemMenu {
 public:
  static constexpr UINT kOpenWebSite = 1026;
  static constexpr UINT kAutoClick = 1027;
  static constexpr UINT kChangeColors = 1028;
  // A multiple of 16 below the system's commands: the system may set the low
  // four bits of a command it passes on.
  static constexpr UINT kFullKeyboard = 0x0410;

  SystemMenu(InputDispatch& input, std::function<void()> changeColors,
             std::function<void()> switchKeyboard = {})
      : input_(input),
        changeColors_(std::move(changeColors)),
        switchKeyboard_(std::move(switchKeyboard)) {}

  // Appends a separator, "Auto Click", "Change Colors", "Open <site>" and
  // "Full Keyboard".
  void Create(HWND window);
  // The check mark of "Auto Click" shows the option.
  void ShowAutoClick();
  // The check mark of "Full Keyboard".
  void ShowFullKeyboard(bool full);
  // WM_SYSCOMMAND: true when the command was one of these items and is done;
  // the system's own commands are left to the default processing.
  bool OnCommand(WPARAM command);

 private:
  HWND window_ = nullptr;
  InputDispatch& input_;
  std::function<void()> changeColors_;
  std::function<void()> switchKeyboard_;
};

}  // namespace luma::app
