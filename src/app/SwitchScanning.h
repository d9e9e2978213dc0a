// Typing with switches in the window: the scanner over the keys and the row
// of words with its timer, the switch keys watched on every keyboard while
// scanning is on, a mouse press on the keys as the switch where chosen, and
// the keyboard brought back from the taskbar by the switch.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/KeyboardView.h"
#include "input/InputDispatch.h"
#include "platform/Types.h"
#include "scan/Scanner.h"
#include "settings/Options.h"
#include "win32/SwitchHook.h"
#include "win32/Win32System.h"

namespace luma::app {

class SwitchScanning {
 public:
  // A switch key's press or release, posted by the hook so that the hook
  // returns at once: wParam the switch and whether down (MAKEWPARAM), lParam
  // the event's time.
  static constexpr UINT kSwitchMessage = WM_APP + 1;

  // After the view and the input are made: the scanner over the view's keys
  // and row, picking through the input. Without a keyboard model nothing is
  // scanned.
  void Create(HWND window, KeyboardView& view, InputDispatch& input);
  // Scanning on or off with its switch keys, speed and mode. Where the
  // switch keys cannot be watched a box says so and options.scanKeys is
  // turned off.
  void Apply(Options& options);
  // The keys were placed anew (a new size, the other keyboard, the row of
  // words shown or hidden): the scan starts again at the top.
  void KeysPlaced(Point keyOrigin);
  // Minimised: no highlight and no timer, but the switch keys are still
  // watched, and a press brings the keyboard back. Restored: the scan
  // starts again.
  void SetMinimised(bool minimised);
  // The window closes: the scan, its timer and the hook end.
  void Stop();
  void OnTimer();
  void OnSwitchMessage(WPARAM switchAndDown, LPARAM timeMs);
  // A press or release of any mouse button on the keys: true when it was
  // taken as the switch ("Click Is Switch" while scanning), and the pointer
  // must not have it.
  bool OnMouseButton(bool down, std::uint32_t timeMs);
  // Null until Create has succeeded; its listener is whoever draws the
  // highlight.
  Scanner* Model() { return scanner_.get(); }

 private:
  void OnSwitchKey(std::uint16_t vk, bool down, std::uint32_t timeMs);
  // The scanner runs while scanning is on and the keyboard can be seen.
  void Run();

  HWND window_ = nullptr;
  std::unique_ptr<win32::WindowTimer> timer_;
  std::unique_ptr<Scanner> scanner_;
  win32::SwitchHook hook_{
      [this](std::uint16_t vk, bool down, std::uint32_t timeMs) { OnSwitchKey(vk, down, timeMs); }};
  bool on_ = false;
  bool minimised_ = false;
  bool clickIsSwitch_ = false;
  int buttonsDown_ = 0;  // mouse buttons taken as the switch, still down
  std::uint16_t switchKey_ = 0;
};

}  // namespace luma::app
