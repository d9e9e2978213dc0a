// The system-menu items of typing without clicking: "Hover Click", the
// "Hover Time" submenu of radio items and "Click Sound". Each choice is
// written at once.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "app/KeyClickSound.h"
#include "input/InputDispatch.h"
#include "settings/Settings.h"

namespace luma::app {

class ClickOptionsMenu {
 public:
  // System commands: the system keeps the low four bits of these for itself.
  static constexpr UINT kHoverClick = 0x0200;
  static constexpr UINT kFirstHoverTime = 0x0210;  // then one every 0x10
  static constexpr UINT kClickSound = 0x0270;
  static constexpr std::array<std::int32_t, 6> kHoverTimesMs = {500, 750, 1000, 1500, 2000, 3000};

  ClickOptionsMenu(InputDispatch& input, KeyClickSound& sound, Settings& settings)
      : input_(input), sound_(sound), settings_(settings) {}

  // Appends a separator and the three items.
  void Create(HWND window);
  // The check marks and the radio item show the options; a hand-edited time
  // that is none of the choices checks no radio item.
  void Show();
  // WM_SYSCOMMAND: true when the command was one of these items and is done.
  bool OnCommand(WPARAM command);

 private:
  HWND window_ = nullptr;
  HMENU hoverTimes_ = nullptr;
  InputDispatch& input_;
  KeyClickSound& sound_;
  Settings& settings_;
};

}  // namespace luma::app
