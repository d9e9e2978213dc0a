// The keyboard window: non-activating, top-most, sizeable, with the keyboard
// picture in its client area and the transparency slider in the corner.
#pragma once

#include <windows.h>

#include <memory>

#include "input/PressLogic.h"
#include "keyboard/HvKeyboard.h"
#include "lib/WorkArea.h"
#include "win32/GdiCanvas.h"
#include "win32/Win32System.h"
#include "win32/Window.h"

namespace luma::app {

inline constexpr wchar_t kMainFormClass[] = L"TMainForm";
inline constexpr wchar_t kAppTitle[] = L"Lumatype";

// System-menu command ids.
inline constexpr UINT kCmdOpenSite = 1026;
inline constexpr UINT kCmdAutoClick = 1027;
inline constexpr UINT kCmdChangeColors = 1028;

class TMainForm : public win32::BaseWindow<TMainForm>, private PressHost {
 public:
  TMainForm();
  ~TMainForm();

  // Creates the window and runs the creation steps; the window stays hidden.
  bool Create(HINSTANCE instance);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  THvKeyboard* Keyboard() { return FKeyboard.get(); }

 private:
  void FormCreate();
  void FormShow();
  void FormResize();
  void FormDestroy();
  void LoadLayoutAndSize();
  void FitKeyFonts();
  void DefaultPlacement();
  void UpdateAutoClickMenu();
  void tbAlphaBlendChange();
  void tmrHKLTimer();
  void ApplicationEventsMainRestore();
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

  HINSTANCE FInstance = nullptr;
  HWND FSlider = nullptr;
  HWND FTooltip = nullptr;
  bool FShowDone = false;
  bool FMouseInside = false;
  bool FFirstPaintReported = false;
  bool FWasMinimised = false;
  std::int32_t FLayoutWidth = 0;
  std::int32_t FLayoutHeight = 0;
  WorkAreaMemory FWorkArea;

  win32::GdiBitmapFactory FBitmaps;
  std::unique_ptr<win32::WindowScreen> FScreen;
  win32::Win32KeyboardLayouts FLayouts;
  win32::Win32KeySender FSender;
  win32::Win32Cursor FCursor;
  win32::Win32SystemColours FSysColours;
  std::unique_ptr<win32::WindowTimer> FPressTimer;
  std::unique_ptr<win32::WindowTimer> FHklTimer;
  std::unique_ptr<THvKeyboard> FKeyboard;
  std::unique_ptr<PressLogic> FPress;
};

}  // namespace luma::app
