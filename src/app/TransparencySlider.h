// The transparency slider in the corner the keys leave free (the bottom right
// of the standard keyboard, above the numeric pad of the full one): a trackbar
// with the tooltip "Transparency" that fades the whole window through the
// layered style.
// The window is faded from the start; the trackbar itself is created once the
// keyboard is on screen, since loading the common controls for it costs about
// as much as the whole first picture.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/Types.h"
#include "settings/WindowSettings.h"
#include "win32/Handles.h"

namespace luma::app {

class TransparencySlider {
 public:
  static constexpr int kMinimum = kMinAlphaBlend;
  static constexpr int kMaximum = kMaxAlphaBlend;  // opaque

  // The window it fades, which is also the trackbar's parent; until
  // SetPosition the position is the opaque one.
  void Attach(HWND parent, HINSTANCE instance) { parent_ = parent, instance_ = instance; }
  // The window has drawn its picture: the trackbar follows once nothing else
  // is waiting (a timer fires only then), so the picture goes out first.
  void OnParentPainted();
  // The creation timer fired: the trackbar and its tooltip, where the slider
  // was last placed, at the position set so far.
  void OnCreateTimer();
  // Before the keys give it its place: its design size, at the DPI, in the
  // bottom-right corner.
  void StickToCorner(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t dpi);
  void Place(const Rect& area);
  // The position, clamped to the slider's range, then the window's transparency.
  void SetPosition(int position);
  int Position() const;
  // Answers the trackbar's WM_HSCROLL; false for any other scroll bar.
  bool OnScroll(HWND control);
  // The slider stands on the keyboard background: it takes that color and
  // repaints in it.
  void SetBackground(Color background);
  // WM_CTLCOLORSTATIC: the background brush for the trackbar, else null.
  HBRUSH BackgroundFor(HWND control) const;

 private:
  void Create();
  void ApplyTransparency();

  HWND parent_ = nullptr;
  HINSTANCE instance_ = nullptr;
  bool createAsked_ = false;
  int position_ = kMaximum;
  Rect area_{};
  HWND trackbar_ = nullptr;
  HWND tooltip_ = nullptr;
  win32::GdiObject<HBRUSH> background_;
};

}  // namespace luma::app
