// Where the window stands: its default place on the work-area bottom, pulling
// it back inside the work area, following a work area that changed size and
// snapping to its edges on every move, taking the rectangle the system
// suggests when the window's DPI changes, and handing the foreground back
// after a restore from the taskbar.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "placement/WorkArea.h"
#include "platform/Types.h"
#include "settings/Placement.h"

namespace luma::app {

class WindowPlacement {
 public:
  void Attach(HWND window);
  // The DPI the window is drawn at.
  std::int32_t Dpi() const { return dpi_; }

  // The outer size that gives a client area of this design size (96 DPI),
  // scaled to the window's DPI, with the window's styles.
  void SetDesignClientSize(std::int32_t width, std::int32_t height);
  // Another layout of another design width: the client width in the ratio
  // of the two, the height kept, then pulled into the work area. A maximised
  // or minimised window keeps its size and gets the new width when restored.
  void ChangeDesignWidth(std::int32_t fromWidth, std::int32_t toWidth);
  // The client height newHeight gives for the present one, the width kept,
  // then pulled into the work area. A maximised or minimised window keeps
  // its size and gets the new height when restored.
  void ChangeClientHeight(const std::function<std::int32_t(std::int32_t)>& newHeight);
  // Standing on the bottom of the work area, centred.
  void PlaceDefault();
  // A window in the normal state is pulled back inside its work area.
  void FitToWorkArea();
  void OnWindowPosChanging(WINDOWPOS& pos);
  // WM_DPICHANGED: the window takes the suggested rectangle as it is, unless
  // the saved placement is being applied, which keeps its own rectangle.
  void OnDpiChanged(std::int32_t dpi, const RECT& suggested);
  // WM_SIZE: after a restore from the minimised state the foreground goes
  // back to the application the user was typing into.
  void OnSize(WPARAM kind);

  // The window as the settings store sees it: class name, the rectangle of
  // the normal state in screen pixels, the show state, border and boxes.
  PlacementWindow Describe() const;
  // The rectangle of the normal state; a maximised one is kept for the show.
  void Restore(const RestoredPlacement& placement);
  // The first show, never activating: SW_SHOWMAXIMIZED or a restored
  // maximised state maximise, SW_SHOWMINNOACTIVE starts minimised, any other
  // command shows the window as the settings left it.
  void ShowFirst(int command);

  Point Position() const;
  // Each goes through the move rules of OnWindowPosChanging.
  void MoveLeftTo(std::int32_t left);
  void MoveTopTo(std::int32_t top);

 private:
  void MoveTo(Point position);
  // The client size change gives for the present one, applied to the
  // window as it is (or to its normal state, when maximised or minimised),
  // then pulled into the work area.
  void ChangeClientSize(const std::function<Size(Size)>& change);
  // The frame around the client area, measured on the window: without the
  // second per-monitor DPI awareness (Windows 10 before 1703, Wine) the frame
  // keeps the DPI the window started at, and one computed for the DPI it has
  // now is off by a few pixels. A minimised window has no client area to
  // measure: its frame is the one of its DPI.
  Size FrameSize() const;

  HWND window_ = nullptr;
  std::int32_t dpi_ = kDesignDpi;
  bool restoring_ = false;
  bool takingSuggested_ = false;
  WorkAreaMemory workArea_;
  bool minimised_ = false;
  bool startMaximized_ = false;
};

}  // namespace luma::app
