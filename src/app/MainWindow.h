// The keyboard window: non-activating, top-most, sizeable, with the keyboard
// picture in its client area and the transparency slider in the corner.
#pragma once

#include <windows.h>

#include <memory>

#include "input/PressLogic.h"
#include "keyboard/Keyboard.h"
#include "lib/WorkArea.h"
#include "win32/GdiCanvas.h"
#include "win32/Win32System.h"
#include "win32/Window.h"

namespace luma::app {

inline constexpr wchar_t kMainWindowClass[] = L"TMainForm";
inline constexpr wchar_t kAppTitle[] = L"Lumatype";

// System-menu command ids.
inline constexpr UINT kCmdOpenSite = 1026;
inline constexpr UINT kCmdAutoClick = 1027;
inline constexpr UINT kCmdChangeColors = 1028;

class MainWindow : public win32::BaseWindow<MainWindow>, private PressHost {
 public:
  MainWindow();
  ~MainWindow();

  // Creates the window and runs the creation steps; the window stays hidden.
  bool Create(HINSTANCE instance);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  Keyboard* KeyboardModel() { return keyboard_.get(); }

 private:
  void OnCreate();
  void OnFirstShow();
  void OnResize();
  void OnDestroy();
  void LoadLayoutAndSize();
  void FitKeyFonts();
  void DefaultPlacement();
  void UpdateAutoClickMenu();
  void OnTransparencyChanged();
  void OnLayoutPoll();
  void OnRestore();
  void OnWindowPosChanging(WINDOWPOS& pos);
  void OnMouseDown(MouseButton button, LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void OnMouseUp(MouseButton button);
  void OnMouseLeave();
  void OnSysCommand(WPARAM command);
  void CreateSlider();
  void PlaceSlider(const Rect& rect);
  Rect WindowRectangle() const;
  Rect ClientRectangle() const;

  // PressHost
  Point CursorPos() override;
  Point WindowPos() override;
  void SetWindowLeft(std::int32_t left) override;
  void SetWindowTop(std::int32_t top) override;
  void ClearActiveControl() override;

  HINSTANCE instance_ = nullptr;
  HWND slider_ = nullptr;
  HWND tooltip_ = nullptr;
  bool showDone_ = false;
  bool mouseInside_ = false;
  bool firstPaintReported_ = false;
  bool wasMinimised_ = false;
  WorkAreaMemory workArea_;

  win32::GdiBitmapFactory bitmaps_;
  std::unique_ptr<win32::WindowScreen> screen_;
  win32::Win32KeyboardLayouts layouts_;
  win32::Win32KeySender sender_;
  win32::Win32Cursor cursor_;
  BusyCursor busyCursor_{cursor_};
  Theme theme_;
  ThemeColors themeColors_;
  CaptionCache captions_;
  win32::TextBitmap textBitmap_;
  win32::Win32SystemColors sysColors_;
  std::unique_ptr<win32::WindowTimer> pressTimer_;
  std::unique_ptr<win32::WindowTimer> hklTimer_;
  std::unique_ptr<Keyboard> keyboard_;
  std::unique_ptr<PressLogic> press_;
};

}  // namespace luma::app
