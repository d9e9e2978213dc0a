// The mouse on the keyboard area: feeds the press logic (key presses,
// latching, auto-repeat, the background drag), holds the capture while the
// left button is down and asks for the leave notification.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/WindowPlacement.h"
#include "input/HoverClick.h"
#include "input/PressLogic.h"
#include "keyboard/Keyboard.h"
#include "platform/Sound.h"
#include "platform/System.h"
#include "settings/ClickOptions.h"
#include "settings/Settings.h"
#include "win32/Win32System.h"

namespace luma::app {

class PointerInput : private PressHost {
 public:
  explicit PointerInput(WindowPlacement& placement) : placement_(placement) {}

  // sound, when given, outlives this.
  void Create(HWND window, Keyboard& keyboard, KeySender& sender, ClickSound* sound = nullptr);

  // Positions are client pixels.
  void OnButtonDown(MouseButton button, std::int32_t x, std::int32_t y);
  void OnButtonUp(MouseButton button);
  // keys: the move's MK_ flags, which tell whether any button is still down.
  void OnMove(std::int32_t x, std::int32_t y, WPARAM keys);
  void OnLeave();
  // Another window took the capture: the press ends as at a button up.
  void OnCaptureChanged(HWND newOwner);
  // The window was minimised: a held key is let go as at a button up, and
  // its repeat timer stops with it.
  void EndPress();
  void OnPressTimer();
  void OnHoverTimer();

  // The user's choice, kept here so that it survives a press logic that
  // could not be made: a failed start must not write it over.
  bool AutoClick() const { return autoClick_; }
  void SetAutoClick(bool on);
  // Kept here alike, and handed to the hover click.
  bool HoverClickOn() const { return hoverClick_; }
  void SetHoverClick(bool on);
  std::int32_t HoverTime() const { return hoverTimeMs_; }
  void SetHoverTime(std::int32_t ms);
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
  std::unique_ptr<win32::WindowTimer> hoverTimer_;
  std::unique_ptr<HoverClick> hover_;
  bool autoClick_ = kDefaultAutoClick;
  bool hoverClick_ = kDefaultHoverClick;
  std::int32_t hoverTimeMs_ = kDefaultHoverTimeMs;
};

}  // namespace luma::app
