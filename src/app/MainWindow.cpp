// The keyboard window. The logic lives in the portable core (keyboard model,
// press logic, work-area arithmetic); this file answers window messages and
// applies what the core decides.
//
// Sections: creation, show and resize, placement and snapping, transparency,
// pointer input, timers, system menu, restore hand-back, destruction.
#include "app/MainWindow.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstdlib>

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

MainWindow::MainWindow() = default;
MainWindow::~MainWindow() = default;

// ---------------------------------------------------------------- creation

bool MainWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  // No CS_DBLCLKS: a double click arrives as two presses, as it should.
  if (!RegisterWindowClass(kMainWindowClass, 0, nullptr, icon)) return false;

  RECT frame{0, 0, kDesignClientWidth, kDesignClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  if (!CreateWindowHandle(kExStyle, kMainWindowClass, kAppTitle, kStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top)) {
    return false;
  }
  OnCreate();
  return true;
}

void MainWindow::OnCreate() {
  HWND hwnd = Handle();
  showDone_ = false;
  workArea_ = {};

  CreateSlider();

  screen_ = std::make_unique<win32::WindowScreen>(hwnd);
  pressTimer_ = std::make_unique<win32::WindowTimer>(hwnd, kPressTimerId);
  hklTimer_ = std::make_unique<win32::WindowTimer>(hwnd, kHklTimerId);
  const KeyboardDeps deps{bitmaps_,    *screen_, layouts_,  sender_,
                          busyCursor_, theme_,   captions_, &textBitmap_};
  keyboard_ = std::make_unique<Keyboard>(deps, ForegroundLayout());
  keyboard_->SetMarkerFaceLiteral(false);
  press_ = std::make_unique<PressLogic>(*keyboard_, sender_, *pressTimer_,
                                        static_cast<PressHost&>(*this));

  themeColors_ = ComputeThemeColors(sysColors_, win32::QueryVisualStyle());
  theme_.KeyFontSmall = KeyFont{"Tahoma", 8, true};
  theme_.KeyFontLarge = KeyFont{"Tahoma", 10, true};
  ApplyColorScheme(kDefaultColors, theme_, themeColors_, sysColors_);

  keyboard_->ChooseNamesLayout();

  HMENU menu = GetSystemMenu(hwnd, FALSE);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kCmdAutoClick, L"Auto Click");
  AppendMenuW(menu, MF_STRING, kCmdChangeColors, L"Change Colors");
  const std::wstring open = std::wstring(L"Open ") + kSiteHost;
  AppendMenuW(menu, MF_STRING, kCmdOpenSite, open.c_str());

  LoadLayoutAndSize();
  FitKeyFonts();
  DefaultPlacement();

  SendMessageW(slider_, TBM_SETPOS, TRUE, kDefaultAlphaBlend);
  OnTransparencyChanged();
  press_->SetAutoClick(kDefaultAutoClick);
  UpdateAutoClickMenu();
}

void MainWindow::CreateSlider() {
  slider_ = CreateWindowExW(0, TRACKBAR_CLASSW, L"",
                            WS_CHILD | WS_VISIBLE | TBS_HORZ | TBS_BOTH | TBS_NOTICKS |
                                TBS_FIXEDLENGTH,
                            kDesignClientWidth - kSliderDesignWidth,
                            kDesignClientHeight - kSliderDesignHeight, kSliderDesignWidth,
                            kSliderDesignHeight, Handle(), nullptr, instance_, nullptr);
  SendMessageW(slider_, TBM_SETRANGEMIN, FALSE, kSliderMin);
  SendMessageW(slider_, TBM_SETRANGEMAX, FALSE, kSliderMax);
  SendMessageW(slider_, TBM_SETPAGESIZE, 0, 5);
  SendMessageW(slider_, TBM_SETPOS, TRUE, kSliderMax);

  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(),
                             nullptr, instance_, nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(slider_);
  tool.lpszText = const_cast<wchar_t*>(L"Transparency");
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::LoadLayoutAndSize() {
  keyboard_->LoadLayout("Standard");
  RECT frame{0, 0, keyboard_->Width(), keyboard_->Height()};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  SetWindowPos(Handle(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  keyboard_->Redraw(false);
}

void MainWindow::FitKeyFonts() {
  const Size escape = keyboard_->EscapeKeySize();
  const KeyFontSizes sizes = FitKeyFontSizes(escape.cx, escape.cy);
  theme_.KeyFontLarge.Size = sizes.large;
  theme_.KeyFontSmall.Size = sizes.small;
}

// ------------------------------------------------------- show and resize

void MainWindow::OnFirstShow() {
  if (!IsIconic(Handle()) && !IsZoomed(Handle())) {
    const Rect r = WindowRectangle();
    const Point p = FitToWorkArea({r.left, r.top, r.Width(), r.Height()}, WorkAreaOfRect);
    if (p.x != r.left || p.y != r.top)
      SetWindowPos(Handle(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  keyboard_->SetShown(true);
  keyboard_->SetPaintingEnabled(true);
  hklTimer_->Start(kHklPollMs);
  // The slider never keeps the keyboard focus: the window is never active,
  // so there is no focus to hand over here.
  showDone_ = true;
  // Wine and Windows need not send a size notification at the first show;
  // the keys must fit the client area once it is visible.
  OnResize();
}

void MainWindow::OnResize() {
  if (!showDone_ || !keyboard_) return;
  const Rect client = ClientRectangle();
  keyboard_->ScaleToClient(client.Width(), client.Height());
  FitKeyFonts();
  keyboard_->Redraw(true);
  PlaceSlider(SliderRect(client.Width(), client.Height(), keyboard_->RightShiftWidth(),
                         keyboard_->SpaceBarHeight()));
}

void MainWindow::PlaceSlider(const Rect& r) {
  SetWindowPos(slider_, nullptr, r.left, r.top, r.Width(), r.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------- placement and snapping

void MainWindow::DefaultPlacement() {
  const Rect r = WindowRectangle();
  const Rect wa = MonitorWorkArea(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST));
  const Point p = luma::DefaultPlacement(wa, r.Width(), r.Height());
  SetWindowPos(Handle(), nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OnWindowPosChanging(WINDOWPOS& pos) {
  const Rect r = WindowRectangle();
  RECT primary{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &primary, 0);
  HMONITOR monitor = MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST);
  WindowPosRequest request;
  request.current = {r.left, r.top, r.Width(), r.Height()};
  request.x = pos.x;
  request.y = pos.y;
  request.width = pos.cx;
  request.height = pos.cy;
  request.noMove = (pos.flags & SWP_NOMOVE) != 0;
  request.noSize = (pos.flags & SWP_NOSIZE) != 0;
  request.primaryWorkArea = ToRect(primary);
  request.monitor = reinterpret_cast<std::uintptr_t>(monitor);
  request.monitorWorkArea = MonitorWorkArea(monitor);
  request.memory = workArea_;
  const WindowPosAnswer answer = DecideWindowPos(request);
  workArea_ = answer.memory;
  pos.x = answer.x;
  pos.y = answer.y;
  if (answer.clearNoMove) pos.flags &= ~SWP_NOMOVE;
}

// ---------------------------------------------------------- transparency

void MainWindow::OnTransparencyChanged() {
  HWND hwnd = Handle();
  const int alpha = static_cast<int>(SendMessageW(slider_, TBM_GETPOS, 0, 0));
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

void MainWindow::OnMouseDown(MouseButton button, LPARAM lParam) {
  if (!mouseInside_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
    mouseInside_ = true;
  }
  press_->MouseDown(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

void MainWindow::OnMouseMove(LPARAM lParam) {
  const int x = GET_X_LPARAM(lParam);
  const int y = GET_Y_LPARAM(lParam);
  const Rect client = ClientRectangle();
  const bool inside = x >= 0 && y >= 0 && x < client.right && y < client.bottom;
  if (!inside) {
    // Only seen while the left button holds the capture: leaving the
    // keyboard area releases a held key as it does without capture.
    if (mouseInside_) OnMouseLeave();
    press_->MouseMove(x, y);
    return;
  }
  if (!mouseInside_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
    TrackMouseEvent(&track);
    mouseInside_ = true;
  }
  press_->MouseMove(x, y);
}

void MainWindow::OnMouseUp(MouseButton button) {
  if (button == MouseButton::Left && GetCapture() == Handle()) ReleaseCapture();
  press_->MouseUp();
}

void MainWindow::OnMouseLeave() {
  mouseInside_ = false;
  press_->MouseLeave();
}

Point MainWindow::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

Point MainWindow::WindowPos() {
  const Rect r = WindowRectangle();
  return {r.left, r.top};
}

void MainWindow::SetWindowLeft(std::int32_t left) {
  const Rect r = WindowRectangle();
  SetWindowPos(Handle(), nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::SetWindowTop(std::int32_t top) {
  const Rect r = WindowRectangle();
  SetWindowPos(Handle(), nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ClearActiveControl() {
  // The slider is the only child that could hold the keyboard focus.
  if (GetFocus() == slider_) SetFocus(nullptr);
}

// ----------------------------------------------------------------- timers

void MainWindow::OnLayoutPoll() { keyboard_->SetHKL(ForegroundLayout()); }

// ------------------------------------------------------------ system menu

void MainWindow::UpdateAutoClickMenu() {
  ModifyMenuW(GetSystemMenu(Handle(), FALSE), kCmdAutoClick,
              MF_BYCOMMAND | MF_STRING | (press_->AutoClick() ? MF_CHECKED : MF_UNCHECKED),
              kCmdAutoClick, L"Auto Click");
}

void MainWindow::OnSysCommand(WPARAM command) {
  if (command == kCmdAutoClick) {
    press_->SetAutoClick(!press_->AutoClick());
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
void MainWindow::OnRestore() {
  RestoreSearch search{Handle()};
  EnumWindows(FindRestoreTarget, reinterpret_cast<LPARAM>(&search));
  if (search.target) win32::ForceForegroundWindow(search.target, true);
}

// ------------------------------------------------------------ destruction

void MainWindow::OnDestroy() {
  if (hklTimer_) hklTimer_->Stop();
  if (pressTimer_) pressTimer_->Stop();
  // Nothing may stay down in the system once the keyboard is gone: a latched
  // Shift would keep the user's real keyboard shifted.
  if (press_) press_->ReleaseHeldKeys();
}

// --------------------------------------------------------------- messages

Rect MainWindow::WindowRectangle() const {
  RECT r{};
  GetWindowRect(Handle(), &r);
  return ToRect(r);
}

Rect MainWindow::ClientRectangle() const {
  RECT r{};
  GetClientRect(Handle(), &r);
  return ToRect(r);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      // Wine activates even a WS_EX_NOACTIVATE window on a click unless told
      // not to; Windows gives this answer for such windows anyway.
      return MA_NOACTIVATE;
    case WM_SHOWWINDOW:
      if (wParam && keyboard_) OnFirstShow();
      break;
    case WM_SIZE:
      if (wParam == SIZE_MINIMIZED) {
        wasMinimised_ = true;
        return 0;
      }
      if (!showDone_ && slider_) {
        // Anchored right and bottom until the first resize places it.
        PlaceSlider({LOWORD(lParam) - kSliderDesignWidth, HIWORD(lParam) - kSliderDesignHeight,
                     LOWORD(lParam), HIWORD(lParam)});
      }
      OnResize();
      if (wasMinimised_) {
        wasMinimised_ = false;
        OnRestore();
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
      if (keyboard_) keyboard_->CopyToScreen();
      EndPaint(Handle(), &ps);
      if (showDone_ && !firstPaintReported_) {
        firstPaintReported_ = true;
        OutputDebugStringW(L"first-paint");
        if (GetEnvironmentVariableW(L"LUMA_EXIT_AFTER_PAINT", nullptr, 0) > 0)
          PostMessageW(Handle(), WM_CLOSE, 0, 0);
      }
      return 0;
    }
    case WM_HSCROLL:
      if (reinterpret_cast<HWND>(lParam) == slider_) OnTransparencyChanged();
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
      if (mouseInside_) OnMouseLeave();
      return 0;
    case WM_CAPTURECHANGED:
      break;
    case WM_TIMER:
      if (wParam == kPressTimerId) {
        press_->PressTimerTick();
      } else if (wParam == kHklTimerId) {
        OnLayoutPoll();
      }
      return 0;
    case WM_NCLBUTTONDOWN:
      // Moving, sizing and the system menu need this window in the
      // foreground; the click itself cannot activate it.
      if (wParam == HTCAPTION || wParam == HTSYSMENU ||
          (wParam >= HTLEFT && wParam <= HTBOTTOMRIGHT))
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
      OnDestroy();
      PostQuitMessage(0);
      return 0;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace luma::app
