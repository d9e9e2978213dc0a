// The keyboard window: non-activating, top-most, sizeable, with the keyboard
// picture in its client area and the transparency slider in the corner. It
// answers window messages by handing each to the part that owns it.
#pragma once

#include <windows.h>

#include "app/KeyboardView.h"
#include "app/PointerInput.h"
#include "app/SystemMenu.h"
#include "app/SystemServices.h"
#include "app/TransparencySlider.h"
#include "app/WindowPlacement.h"
#include "win32/Window.h"

namespace luma::app {

inline constexpr wchar_t kMainWindowClass[] = L"TMainForm";
inline constexpr wchar_t kAppTitle[] = L"Lumatype";

class MainWindow : public win32::BaseWindow<MainWindow> {
 public:
  MainWindow() = default;

  // Creates the window and runs the creation steps; the window stays hidden.
  // A step that fails is noted and skipped; false only without a window.
  bool Create(HINSTANCE instance);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

 private:
  void OnCreate();
  void OnShow();
  void OnSize(WPARAM kind, int width, int height);
  void OnResize();
  void OnTimer(UINT_PTR id);
  void OnNcLeftButtonDown(WPARAM hitTest);
  void OnDestroy();

  HINSTANCE instance_ = nullptr;
  bool shown_ = false;

  SystemServices services_;
  KeyboardView view_;
  TransparencySlider slider_;
  WindowPlacement placement_;
  PointerInput pointer_{placement_};
  SystemMenu menu_{pointer_};
};

}  // namespace luma::app
