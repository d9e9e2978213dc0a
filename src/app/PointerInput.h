// The mouse on the keyboard window, as the Win32 side of the input: cracks
// the mouse messages into the input's pointer events, holds the capture
// while the left button is down, asks for the leave notice, and moves the
// window for a drag of the background.
#pragma once

#include <windows.h>

#include <memory>

#include "app/WindowPlacement.h"
#include "input/InputDispatch.h"
#include "input/PressLogic.h"
#include "keyboard/Keyboard.h"
#include "platform/Sound.h"
#include "platform/System.h"
#include "win32/Win32System.h"

namespace luma::app {

class PointerInput : private PressHost, private PointerWindow {
 public:
  PointerInput(WindowPlacement& placement, InputDispatch& input)
      : placement_(placement), input_(input) {}

  // Attaches the input to the keyboard, with the window's press and hover
  // timers. sound, when given, outlives this.
  void Create(HWND window, Keyboard& keyboard, KeySender& sender, ClickSound* sound = nullptr);

  // Positions are client pixels.
  void OnButtonDown(MouseButton button, std::int32_t x, std::int32_t y);
  void OnButtonUp(MouseButton button);
  // keys: the move's MK_ flags, which tell whether any button is still down.
  void OnMove(std::int32_t x, std::int32_t y, WPARAM keys);
  // Another window took the capture (or none: it was let go).
  void OnCaptureChanged(HWND newOwner);

 private:
  // PressHost
  Point CursorPos() override;
  Point WindowPos() override;
  void MoveWindowLeftTo(std::int32_t left) override;
  void MoveWindowTopTo(std::int32_t top) override;
  void UnfocusChildControls() override;

  // PointerWindow
  void CapturePointer() override;
  void ReleasePointer() override;
  void WatchForLeave() override;

  WindowPlacement& placement_;
  InputDispatch& input_;
  HWND window_ = nullptr;
  std::unique_ptr<win32::WindowTimer> pressTimer_;
  std::unique_ptr<win32::WindowTimer> hoverTimer_;
};

}  // namespace luma::app
