// The keyboard window: non-activating, top-most, sizeable, with the keyboard
// picture in its client area and the transparency slider in the corner. It
// answers window messages by handing each to the part that owns it.
#pragma once

#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "app/KeyClickSound.h"
#include "app/KeyboardView.h"
#include "app/PointerInput.h"
#include "app/SwitchScanning.h"
#include "app/SystemMenu.h"
#include "app/SystemServices.h"
#include "app/TransparencySlider.h"
#include "app/WindowPlacement.h"
#include "app/WindowTitle.h"
#include "app/WordPrediction.h"
#include "input/InputDispatch.h"
#include "platform/ErrorReporter.h"
#include "settings/Options.h"
#include "settings/Placement.h"
#include "settings/Settings.h"
#include "win32/Window.h"

namespace luma::app {

// The class name as the system takes it: the saved placement's, widened.
inline constexpr auto kMainWindowClass = [] {
  std::array<wchar_t, sizeof kMainWindowClassName> wide{};
  for (std::size_t i = 0; i < wide.size(); ++i)
    wide[i] = static_cast<wchar_t>(kMainWindowClassName[i]);
  return wide;
}();

// The steps around the window that belong to the process.
struct ProcessSteps {
  // First, once the window has its handle and before any setting is read:
  // the log entry, moving the store to the settings file, the error box's owner.
  std::function<void(HWND)> windowCreated;
  // Logoff or shutdown, after the window has saved: the rest of the exit,
  // still inside the message (the system may end the process after it).
  std::function<void()> sessionEnded;
  // Where failures are shown; null: noted for a debugger only.
  ErrorReporter* errors = nullptr;
};

class MainWindow : public win32::BaseWindow<MainWindow> {
 public:
  // settings must outlive the window: the window saves into it when destroyed.
  // The window runs over the system's own services.
  explicit MainWindow(Settings& settings, ProcessSteps steps = {});
  // Over services that are lent, and must outlive the window too.
  MainWindow(Settings& settings, const SystemServices& services, ProcessSteps steps = {});

  // Creates the window and runs the creation steps; the window stays hidden.
  // A step that fails is reported and skipped, leaving the defaults; false
  // only without a window.
  bool Create(HINSTANCE instance);
  // The first show with the process's show command.
  void Show(int command);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void OnCreate();
  void ReadSettings();
  void ChangeColors();
  void SwitchKeyboard();
  // The row of words shown or taken away as chosen: the window grows or
  // shrinks by it so that the keys keep their size.
  void FollowPredictionOption();
  // Scanning on or off, its hook and timer, as chosen; off where the switch
  // keys cannot be watched.
  void FollowScanOptions();
  // A mouse button on the keys, for the pointer unless it is the switch.
  void OnButton(MouseButton button, bool down, LPARAM position);
  void OnShow();
  void OnSize(WPARAM kind, int width, int height);
  void OnResize();
  void OnTimer(UINT_PTR id);
  bool OnNcButtonDown(WPARAM hitTest, bool left);
  void OnModalLoopStart();
  void OnModalLoopEnd();
  void OnMouseMove(int x, int y, WPARAM keys);
  void OnDestroy();

  Settings& settings_;
  ProcessSteps steps_;
  HINSTANCE instance_ = nullptr;
  bool shown_ = false;
  // The window in front at the last press on the frame, caption or icon: it
  // gets the foreground back when the menu or move/size loop is over.
  HWND foregroundBeforeLoop_ = nullptr;
  // Where the pointer stood, in screen pixels, when that loop ended: the
  // move the system reports there once the loop lets go is no move.
  std::optional<POINT> pointerAtLoopEnd_;

  // The system's own services, unless others were lent.
  std::unique_ptr<Win32Services> win32Services_;
  SystemServices services_;
  KeyboardView view_;
  TransparencySlider slider_;
  WindowPlacement placement_;
  KeyClickSound sound_;  // before the input, which plays it
  InputDispatch input_;
  PointerInput pointer_{placement_, input_};
  WordPrediction prediction_;
  SwitchScanning scanning_;
  Options options_;  // as chosen; the input and the menu follow them
  SystemMenu menu_{options_,
                   input_,
                   settings_,
                   [this] { ChangeColors(); },
                   [this] { SwitchKeyboard(); },
                   [this] { prediction_.Forget(); },
                   [this] { FollowScanOptions(); }};
};

}  // namespace luma::app
