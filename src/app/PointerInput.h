// The mouse on the keyboard area: feeds the press logic (key presses,
// latching, auto-repeat, the background drag), holds the capture while the
// left button is down and asks for the leave notification.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/WindowPlacement.h"
#include "input/PressLogic.h"
#include "keyboard/Keyboard.h"
#include "platform/System.h"
#include "settings/Settings.h"
#include "win32/Win32System.h"

namespace luma::app {

class PointerInput : private PressHost {
 public:
  explicit PointerInput(WindowPlacement& placement) : placement_(placement) {}

  void Create(HWND window, Keyboard& keyboard, KeySender& sender);

  // Positions are client pixels.
  void OnButtonDown(MouseButton button, std::int32_t x, std::int32_t y);
  void OnButtonUp(MouseButton button);
  void OnMove(std::int32_t x, std::int32_t y);
  void OnLeave();
  // Another window took the capture: the press ends as at a button up.
  void OnCaptureChanged(HWND newOwner);
  // The window was minimised: a held key is let go as at a button up, and
  // its repeat timer stops with it.
  void EndPress();
  void OnPressTimer();

  // The user's choice, kept here so that it survives a press logic that
  // could not be made: a failed start must not write it over.
  bool AutoClick() const { return autoClick_; }
  void SetAutoClick(bool on);
  // Key-ups for every key still held or latched.
  void ReleaseHeldKeys();

 private:
  void TrackLeave();

  // PressHost
  Point CursorPos() override;
  Point WindowPos() override;
  void SetWindowLeft(std::int32_t left) override;
  void SetWindowTop(std::int32_t top) override;
  void UnfocusChildControls() override;

  WindowPlacement& placement_;
  HWND window_ = nullptr;
  bool inside_ = false;
  std::unique_ptr<win32::WindowTimer> pressTimer_;
  std::unique_ptr<PressLogic> press_;
  bool autoClick_ = kDefaultAutoClick;
};

}  // namespace luma::app
