// The program's own items at the end of the window's system menu, their
// check marks, and what each command does.
#pragma once

#include <windows.h>

#include <functional>
#include <utility>

#include "app/PointerInput.h"

namespace luma::app {

class SystemMenu {
 public:
  static constexpr UINT kOpenWebSite = 1026;
  static constexpr UINT kAutoClick = 1027;
  static constexpr UINT kChangeColors = 1028;

  SystemMenu(PointerInput& pointer, std::function<void()> changeColors)
      : pointer_(pointer), changeColors_(std::move(changeColors)) {}

  // Appends a separator, "Auto Click", "Change Colors" and "Open <site>".
  void Create(HWND window);
  // The check mark of "Auto Click" shows the option.
  void ShowAutoClick();
  // WM_SYSCOMMAND: true when the command was one of these items and is done;
  // the system's own commands are left to the default processing.
  bool OnCommand(WPARAM command);

 private:
  HWND window_ = nullptr;
  PointerInput& pointer_;
  std::function<void()> changeColors_;
};

}  // namespace luma::app
