#include "app/TransparencySlider.h"

#include <commctrl.h>

#include <algorithm>

#include "app/TimerIds.h"
#include "placement/Dpi.h"
#include "placement/SliderRect.h"
#include "win32/GdiCanvas.h"
#include "win32/ProcAddress.h"

namespace luma::app {
namespace {

constexpr int kPageSize = 5;

// The trackbar and tooltip classes, registered when first needed: the library
// is not loaded with the program. The program's manifest picks its version.
bool LoadCommonControls() {
  HMODULE library = LoadLibraryW(L"comctl32.dll");
  if (!library) return false;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const auto init = win32::ProcAddress<InitFunction>(library, "InitCommonControlsEx");
  const INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
  return init != nullptr && init(&classes);
}

}  // namespace

void TransparencySlider::OnParentPainted() {
  if (createAsked_ || !parent_) return;
  createAsked_ = true;
  SetTimer(parent_, kSliderCreateTimer, USER_TIMER_MINIMUM, nullptr);
}

void TransparencySlider::OnCreateTimer() {
  KillTimer(parent_, kSliderCreateTimer);
  Create();
}

void TransparencySlider::Create() {
  if (trackbar_ || !LoadCommonControls()) return;
  trackbar_ = CreateWindowExW(
      0, TRACKBAR_CLASSW, L"",
      WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_BOTH | TBS_NOTICKS | TBS_FIXEDLENGTH, area_.left,
      area_.top, area_.Width(), area_.Height(), parent_, nullptr, instance_, nullptr);
  if (!trackbar_) return;
  SendMessageW(trackbar_, TBM_SETRANGEMIN, FALSE, kMinimum);
  SendMessageW(trackbar_, TBM_SETRANGEMAX, FALSE, kMaximum);
  SendMessageW(trackbar_, TBM_SETPAGESIZE, 0, kPageSize);
  SendMessageW(trackbar_, TBM_SETPOS, TRUE, position_);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent_,
                             nullptr, instance_, nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent_;
  tool.uId = reinterpret_cast<UINT_PTR>(trackbar_);
  tool.lpszText = const_cast<wchar_t*>(L"Transparency");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TransparencySlider::StickToCorner(std::int32_t clientWidth, std::int32_t clientHeight,
                                       std::int32_t dpi) {
  Place({clientWidth - ScaleForDpi(kSliderDesignWidth, dpi),
         clientHeight - ScaleForDpi(kSliderDesignHeight, dpi), clientWidth, clientHeight});
}

void TransparencySlider::Place(const Rect& area) {
  area_ = area;
  if (!trackbar_) return;
  SetWindowPos(trackbar_, nullptr, area.left, area.top, area.Width(), area.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void TransparencySlider::SetPosition(int position) {
  position_ = std::clamp(position, kMinimum, kMaximum);
  if (trackbar_) SendMessageW(trackbar_, TBM_SETPOS, TRUE, position_);
  ApplyTransparency();
}

int TransparencySlider::Position() const {
  return trackbar_ ? static_cast<int>(SendMessageW(trackbar_, TBM_GETPOS, 0, 0)) : position_;
}

bool TransparencySlider::OnScroll(HWND control) {
  if (!trackbar_ || control != trackbar_) return false;
  position_ = Position();
  ApplyTransparency();
  return true;
}

void TransparencySlider::SetBackground(Color background) {
  background_.Reset(CreateSolidBrush(win32::ResolveColor(background)));
  if (trackbar_) InvalidateRect(trackbar_, nullptr, TRUE);
}

HBRUSH TransparencySlider::BackgroundFor(HWND control) const {
  return control != nullptr && control == trackbar_ ? background_.Get() : nullptr;
}

// Layered only while faded: an opaque layered window costs a redirection
// bitmap for nothing.
void TransparencySlider::ApplyTransparency() {
  if (!parent_) return;
  const LONG_PTR exStyle = GetWindowLongPtrW(parent_, GWL_EXSTYLE);
  if (position_ < kMaximum) {
    if (!(exStyle & WS_EX_LAYERED))
      SetWindowLongPtrW(parent_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(parent_, 0, static_cast<BYTE>(position_), LWA_ALPHA);
  } else if (exStyle & WS_EX_LAYERED) {
    // Leaving the layered style, the window must draw itself again.
    SetWindowLongPtrW(parent_, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    RedrawWindow(parent_, nullptr, nullptr,
                 RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

}  // namespace luma::app
