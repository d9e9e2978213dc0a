// The keyboard window. The logic lives in the portable core (keyboard model,
// press logic, work-area arithmetic); this file answers window messages and
// applies what the core decides.
//
// Sections: creation, show and resize, placement and snapping, transparency,
// pointer input, timers, system menu, restore hand-back, destruction.
#include "app/MainForm.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstdlib>

#include "lib/HvLib.h"
#include "theme/Theme.h"
#include "win32/Focus.h"

namespace luma::app {
namespace {

// WS_CLIPCHILDREN: copying the keyboard picture must not paint over the slider.
constexpr DWORD kStyle = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                         WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
// Top-most, and never activated by a click: the application being typed
// into keeps the keyboard focus.
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE;

constexpr UINT_PTR kHklTimerId = 1;
constexpr UINT_PTR kPressTimerId = 2;
constexpr std::uint32_t kHklPollMs = 300;

// Design client size and slider rectangle; the slider is anchored to the
// right and bottom edges until the first resize places it.
constexpr int kDesignClientWidth = 790;
constexpr int kDesignClientHeight = 271;
constexpr int kSliderDesignWidth = 62;
constexpr int kSliderDesignHeight = 24;
constexpr int kSliderMin = 20;
constexpr int kSliderMax = 255;

// "Colors" of the settings; its default until settings are stored.
constexpr int kDefaultColors = 1;
constexpr bool kDefaultAutoClick = true;
constexpr int kDefaultAlphaBlend = 255;

constexpr wchar_t kSiteHost[] = L"www.lumatype.org";

Hkl ForegroundLayout() {
  const DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  return win32::FromHkl(GetKeyboardLayout(thread));
}

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

Rect MonitorWorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  GetMonitorInfoW(monitor, &info);
  return ToRect(info.rcWork);
}

Rect WorkAreaOfRect(const Rect& r) {
  const RECT rc{r.left, r.top, r.right, r.bottom};
  return MonitorWorkArea(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST));
}


}  // namespace

TMainForm::TMainForm() = default;
TMainForm::~TMainForm() = default;

// ---------------------------------------------------------------- creation

bool TMainForm::Create(HINSTANCE instance) {
  FInstance = instance;
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  // No CS_DBLCLKS: a double click arrives as two presses, as it should.
  if (!RegisterWindowClass(kMainFormClass, 0, nullptr, icon)) return false;

  RECT frame{0, 0, kDesignClientWidth, kDesignClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  if (!CreateWindowHandle(kExStyle, kMainFormClass, kAppTitle, kStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top)) {
    return false;
  }
  FormCreate();
  return true;
}

void TMainForm::FormCreate() {
  HWND hwnd = Handle();
  FShowDone = false;
  FWorkArea = {};

  CreateSlider();

  FScreen = std::make_unique<win32::WindowScreen>(hwnd);
  FPressTimer = std::make_unique<win32::WindowTimer>(hwnd, kPressTimerId);
  FHklTimer = std::make_unique<win32::WindowTimer>(hwnd, kHklTimerId);
  const KeyboardDeps deps{FBitmaps, *FScreen, FLayouts, FSender, FCursor, &win32::TextBitmap()};
  FKeyboard = std::make_unique<THvKeyboard>(deps, ForegroundLayout());
  FKeyboard->SetMarkerFaceLiteral(false);
  FPress = std::make_unique<PressLogic>(*FKeyboard, FSender, *FPressTimer,
                                        static_cast<PressHost&>(*this));

  HvThemeColours = ComputeThemeColors(FSysColours, win32::QueryVisualStyle());
  HvTheme.KeyFontSmall = KeyFont{"Tahoma", 8, true};
  HvTheme.KeyFontLarge = KeyFont{"Tahoma", 10, true};
  ApplyColorScheme(kDefaultColors, HvTheme, HvThemeColours, FSysColours);

  // Character positions are named by US English when it is installed, else
  // by the first installed layout.
  const std::vector<Hkl> installed = FLayouts.List(40);
  if (!installed.empty()) FKeyboard->SetNamesLayout(installed.front());
  for (Hkl hkl : installed) {
    if ((hkl & 0xFFFFFFFFu) == kUsEnglishHkl) {
      FKeyboard->SetNamesLayout(kUsEnglishHkl);
      break;
    }
  }

  HMENU menu = GetSystemMenu(hwnd, FALSE);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kCmdAutoClick, L"Auto Click");
  AppendMenuW(menu, MF_STRING, kCmdChangeColors, L"Change Colors");
  const std::wstring open = std::wstring(L"Open ") + kSiteHost;
  AppendMenuW(menu, MF_STRING, kCmdOpenSite, open.c_str());

  LoadLayoutAndSize();
  FLayoutWidth = FKeyboard->Width();
  FLayoutHeight = FKeyboard->Height();
  FitKeyFonts();
  DefaultPlacement();

  SendMessageW(FSlider, TBM_SETPOS, TRUE, kDefaultAlphaBlend);
  tbAlphaBlendChange();
  FPress->FAutoClick = kDefaultAutoClick;
  UpdateAutoClickMenu();
}

void TMainForm::CreateSlider() {
  FSlider = CreateWindowExW(0, TRACKBAR_CLASSW, L"",
                            WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_BOTH | TBS_NOTICKS |
                                TBS_FIXEDLENGTH,
                            kDesignClientWidth - kSliderDesignWidth,
                            kDesignClientHeight - kSliderDesignHeight, kSliderDesignWidth,
                            kSliderDesignHeight, Handle(), nullptr, FInstance, nullptr);
  SendMessageW(FSlider, TBM_SETRANGEMIN, FALSE, kSliderMin);
  SendMessageW(FSlider, TBM_SETRANGEMAX, FALSE, kSliderMax);
  SendMessageW(FSlider, TBM_SETPAGESIZE, 0, 5);
  SendMessageW(FSlider, TBM_SETPOS, TRUE, kSliderMax);

  FTooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(),
                             nullptr, FInstance, nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(FSlider);
  tool.lpszText = const_cast<wchar_t*>(L"Transparency");
  SendMessageW(FTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TMainForm::LoadLayoutAndSize() {
  FKeyboard->LoadLayout("Standard");
  RECT frame{0, 0, FKeyboard->Width(), FKeyboard->Height()};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FKeyboard->Redraw(false);
}

void TMainForm::FitKeyFonts() {
  const THvBtn* escape = FKeyboard->Btn(27);
  const KeyFontSizes sizes = FitKeyFontSizes(escape->OutlineWidth(), escape->OutlineHeight());
  HvTheme.KeyFontLarge.Size = sizes.large;
  HvTheme.KeyFontSmall.Size = sizes.small;
}

// ------------------------------------------------------- show and resize

void TMainForm::FormShow() {
  if (!IsIconic(Handle()) && !IsZoomed(Handle())) {
    const Rect r = WindowRectangle();
    const Point p = FitToWorkArea({r.left, r.top, r.Width(), r.Height()}, WorkAreaOfRect);
    if (p.x != r.left || p.y != r.top)
      SetWindowPos(Handle(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FKeyboard->SetShown(true);
  FKeyboard->SetPaintingEnabled(true);
  FHklTimer->Start(kHklPollMs);
  // The slider never keeps the keyboard focus: the window is never active,
  // so there is no focus to hand over here.
  FShowDone = true;
  // Wine and Windows need not send a size notification at the first show;
  // the keys must fit the client area once it is visible.
  FormResize();
}

void TMainForm::FormResize() {
  if (!FShowDone || !FKeyboard) return;
  const Rect client = ClientRectangle();
  FKeyboard->SetSize(client.Height(), client.Width());
  // A failed load leaves no reference size to scale from.
  if (FLayoutWidth > 0 && FLayoutHeight > 0) {
    const long double kx =
        static_cast<long double>(FKeyboard->Width()) / static_cast<long double>(FLayoutWidth);
    const long double ky =
        static_cast<long double>(FKeyboard->Height()) / static_cast<long double>(FLayoutHeight);
    for (int vk = 1; vk <= 255; ++vk)
      if (THvBtn* btn = FKeyboard->Btn(vk)) btn->ScaleOutline(kx, ky);
  }
  FitKeyFonts();
  FKeyboard->Redraw(true);
  PlaceSlider(SliderRect(client.Width(), client.Height(), FKeyboard->Btn(161)->OutlineWidth(),
                         FKeyboard->Btn(32)->OutlineHeight()));
}

void TMainForm::PlaceSlider(const Rect& r) {
  SetWindowPos(FSlider, nullptr, r.left, r.top, r.Width(), r.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------- placement and snapping

void TMainForm::DefaultPlacement() {
  const Rect r = WindowRectangle();
  const Rect wa = MonitorWorkArea(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST));
  const Point p = luma::DefaultPlacement(wa, r.Width(), r.Height());
  SetWindowPos(Handle(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::OnWindowPosChanging(WINDOWPOS& pos) {
  const Rect r = WindowRectangle();
  const WindowBox current{r.left, r.top, r.Width(), r.Height()};
  const bool moves = !(pos.flags & SWP_NOMOVE);
  Point proposed = moves ? Point{pos.x, pos.y} : Point{r.left, r.top};
  const std::int32_t width = (pos.flags & SWP_NOSIZE) ? current.width : pos.cx;
  const std::int32_t height = (pos.flags & SWP_NOSIZE) ? current.height : pos.cy;

  RECT primary{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &primary, 0);
  HMONITOR monitor = MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST);
  const Point before = proposed;
  FollowWorkArea(FWorkArea, ToRect(primary), reinterpret_cast<std::uintptr_t>(monitor), current,
                 proposed);
  // A change that moves nothing (z-order, size only) is not snapped, unless
  // following the work area just moved it.
  if (moves || !(proposed == before))
    SnapToWorkArea(proposed, width, height, current, MonitorWorkArea(monitor));
  if (!(proposed == Point{r.left, r.top}) || moves) {
    pos.x = proposed.x;
    pos.y = proposed.y;
    if (!(proposed == Point{r.left, r.top})) pos.flags &= ~SWP_NOMOVE;
  }
}

// ---------------------------------------------------------- transparency

void TMainForm::tbAlphaBlendChange() {
  HWND hwnd = Handle();
  const int alpha = static_cast<int>(SendMessageW(FSlider, TBM_GETPOS, 0, 0));
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if (alpha < 255) {
    if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
  } else {
    if (exStyle & WS_EX_LAYERED) SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

// --------------------------------------------------------- pointer input

void TMainForm::OnMouseDown(MouseButton button, LPARAM lParam) {
  if (!FMouseInside) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
    FMouseInside = true;
  }
  FPress->MouseDown(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

void TMainForm::OnMouseMove(LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  const Rect client = ClientRectangle();
  const bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
  if (!inside) {
    // Only seen while the left button holds the capture: leaving the
    // keyboard area releases a held key as it does without capture.
    if (FMouseInside) OnMouseLeave();
    FPress->MouseMove(x, y);
    return;
  }
  if (!FMouseInside) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
    FMouseInside = true;
  }
  FPress->MouseMove(x, y);
}

void TMainForm::OnMouseUp(MouseButton button) {
  if (button == MouseButton::Left && GetCapture() == Handle()) ReleaseCapture();
  FPress->MouseUp();
}

void TMainForm::OnMouseLeave() {
  FMouseInside = false;
  FPress->MouseLeave();
}

Point TMainForm::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

Point TMainForm::WindowPos() {
  const Rect r = WindowRectangle();
  return {r.left, r.top};
}

void TMainForm::SetWindowLeft(std::int32_t left) {
  const Rect r = WindowRectangle();
  SetWindowPos(Handle(), nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::SetWindowTop(std::int32_t top) {
  const Rect r = WindowRectangle();
  SetWindowPos(Handle(), nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::ClearActiveControl() {
  // The slider is the only child that could hold the keyboard focus.
  if (GetFocus() == FSlider) SetFocus(nullptr);
}

// ----------------------------------------------------------------- timers

void TMainForm::tmrHKLTimer() { FKeyboard->SetHKL(ForegroundLayout()); }

// ------------------------------------------------------------ system menu

void TMainForm::UpdateAutoClickMenu() {
  ModifyMenuW(GetSystemMenu(Handle(), FALSE), kCmdAutoClick,
              MF_BYCOMMAND | MF_STRING | (FPress->FAutoClick ? MF_CHECKED : MF_UNCHECKED),
              kCmdAutoClick, L"Auto Click");
}

void TMainForm::OnSysCommand(WPARAM command) {
  if (command == kCmdAutoClick) {
    FPress->FAutoClick = !FPress->FAutoClick;
    UpdateAutoClickMenu();
  } else if (command == kCmdOpenSite) {
    ShellExecuteW(Handle(), nullptr, kSiteHost, nullptr, L"", SW_SHOWNORMAL);
  }
}

// ---------------------------------------------------- restore hand-back

namespace {

struct RestoreSearch {
  HWND self;
  HWND target = nullptr;
};

BOOL CALLBACK FindRestoreTarget(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<RestoreSearch*>(lParam);
  if (!IsWindowVisible(hwnd) || hwnd == search->self || IsIconic(hwnd)) return TRUE;
  WINDOWINFO info{};
  info.cbSize = sizeof(info);
  GetWindowInfo(hwnd, &info);
  if (info.dwExStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) return TRUE;
  HWND owner = GetWindow(hwnd, GW_OWNER);
  if (!(info.dwExStyle & WS_EX_APPWINDOW) && owner && IsWindowVisible(owner)) return TRUE;
  search->target = hwnd;
  return FALSE;
}

}  // namespace

// After a restore from the taskbar the foreground goes back to the
// application the user was typing into, so the next keys reach it.
void TMainForm::ApplicationEventsMainRestore() {
  RestoreSearch search{Handle()};
  EnumWindows(FindRestoreTarget, reinterpret_cast<LPARAM>(&search));
  if (search.target) win32::ForceForegroundWindow(search.target, true);
}

// ------------------------------------------------------------ destruction

void TMainForm::FormDestroy() {
  if (FHklTimer) FHklTimer->Stop();
  if (FPressTimer) FPressTimer->Stop();
  // Nothing may stay down in the system once the keyboard is gone: a latched
  // Shift would keep the user's real keyboard shifted.
  if (FPress) FPress->ReleaseHeldKeys();
}

// --------------------------------------------------------------- messages

Rect TMainForm::WindowRectangle() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return ToRect(r);
}

Rect TMainForm::ClientRectangle() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  return ToRect(r);
}

LRESULT TMainForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      // Wine activates even a WS_EX_NOACTIVATE window on a click unless told
      // not to; Windows gives this answer for such windows anyway.
      return MA_NOACTIVATE;
    case WM_SHOWWINDOW:
      if (wParam && FKeyboard) FormShow();
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        FWasMinimised = true;
        return 0;
      }
      if (!FShowDone && FSlider) {
        // Anchored right and bottom until the first resize places it.
        PlaceSlider({LOWORD(lParam) - kSliderDesignWidth, HIWORD(lParam) - kSliderDesignHeight,
                     LOWORD(lParam), HIWORD(lParam)});
      }
      FormResize();
      if (FWasMinimised) {
        FWasMinimised = false;
        ApplicationEventsMainRestore();
      }
      return 0;
    case WM_WINDOWPOSCHANGING:
      OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
      break;
    case WM_ERASEBKGND:
      return 1;  // the keyboard picture covers the whole client area
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(Handle(), &ps);
      if (FKeyboard) FKeyboard->CopyToScreen();
      EndPaint(Handle(), &ps);
      if (FShowDone && !FFirstPaintReported) {
        FFirstPaintReported = true;
        OutputDebugStringW(L"first-paint");
        if (GetEnvironmentVariableW(L"LUMA_EXIT_AFTER_PAINT", nullptr, 0) > 0)
          PostMessageW(Handle(), WM_CLOSE, 0, 0);
      }
      return 0;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == FSlider) tbAlphaBlendChange();
      return 0;
    case WM_LBUTTONDOWN:
      // The capture keeps moves outside the area coming while a key is held.
      SetCapture(Handle());
      OnMouseDown(MouseButton::Left, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      OnMouseDown(MouseButton::Right, lParam);
      return 0;
    case WM_MBUTTONDOWN:
      OnMouseDown(MouseButton::Middle, lParam);
      return 0;
    case WM_LBUTTONUP:
      OnMouseUp(MouseButton::Left);
      return 0;
    case WM_RBUTTONUP:
      OnMouseUp(MouseButton::Right);
      return 0;
    case WM_MBUTTONUP:
      OnMouseUp(MouseButton::Middle);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      return 0;
    case WM_MOUSELEAVE:
      if (FMouseInside) OnMouseLeave();
      return 0;
    case WM_CAPTURECHANGED:
      break;
    case WM_TIMER:
      if (wParam == kPressTimerId) {
        FPress->PressTimerTick();
      } else if (wParam == kHklTimerId) {
        tmrHKLTimer();
      }
      return 0;
    case WM_NCLBUTTONDOWN:
      // Moving, sizing and the system menu need this window in the
      // foreground; the click itself cannot activate it.
      if (wParam == HTCAPTION || wParam == HTSYSMENU || (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT))
        win32::ForceForegroundWindow(Handle(), true);
      break;
    case WM_SYSCOMMAND:
      if (wParam == kCmdAutoClick || wParam == kCmdOpenSite) {
        OnSysCommand(wParam);
        return 0;
      }
      break;
    case WM_ENDSESSION:
      // Logoff and shutdown take the path of a normal exit.
      if (wParam) DestroyWindow(Handle());
      return 0;
    case WM_DESTROY:
      FormDestroy();
      PostQuitMessage(0);
      return 0;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace luma::app
