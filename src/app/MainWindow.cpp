// The keyboard window. The logic lives in the portable core (keyboard model,
// press logic, work-area arithmetic) and the parts of this window own their
// pieces of it; this file holds the creation order and routes each message to
// one handler.
#include "app/MainWindow.h"

#include <windowsx.h>

#include <utility>

#include "app/TimerIds.h"
#include "app/TouchInput.h"
#include "placement/Dpi.h"
#include "settings/WindowSettings.h"
#include "win32/Dpi.h"
#include "win32/ExceptionBoundary.h"
#include "win32/Focus.h"
#include "win32/Rectangles.h"

namespace luma::app {
namespace {

// WS_CLIPCHILDREN: copying the keyboard picture must not paint over the slider.
constexpr DWORD kStyle =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CLIPCHILDREN;
// Top-most, and never activated by a click: the application being typed into
// keeps the keyboard focus. Windows gives a non-activating top-level window
// no taskbar button unless it asks for one.
constexpr DWORD kExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_APPWINDOW;

std::string LayoutNameOf(KeyboardChoice choice) {
  return std::string(choice == KeyboardChoice::kFull ? kFullLayoutName : kStandardLayoutName);
}

// The client size the window is created with, until the layout gives its
// own; in design pixels, like every size the window is given.
constexpr int kDesignClientWidth = 790;
constexpr int kDesignClientHeight = 271;

}  // namespace

MainWindow::MainWindow(Settings& settings, ProcessSteps steps)
    : settings_(settings),
      steps_(std::move(steps)),
      win32Services_(std::make_unique<Win32Services>()),
      services_(win32Services_->Lend()) {
  Boundary().SetReporter(steps_.errors);
}

MainWindow::MainWindow(Settings& settings, const SystemServices& services, ProcessSteps steps)
    : settings_(settings), steps_(std::move(steps)), services_(services) {
  Boundary().SetReporter(steps_.errors);
}

bool MainWindow::Create(HINSTANCE instance) {
  instance_ = instance;
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  // No CS_DBLCLKS: a double click arrives as two presses, as it should.
  if (!RegisterWindowClass(kMainWindowClass.data(), 0, nullptr, icon)) return false;

  const UINT dpi = win32::SystemDpi();
  const auto signedDpi = static_cast<std::int32_t>(dpi);
  RECT frame{0, 0, ScaleForDpi(kDesignClientWidth, signedDpi),
             ScaleForDpi(kDesignClientHeight, signedDpi)};
  win32::AdjustWindowRectForDpi(frame, kStyle, kExStyle, dpi);
  if (!CreateWindowHandle(kExStyle, kMainWindowClass.data(), kAppTitle, kStyle, CW_USEDEFAULT,
                          CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top)) {
    return false;
  }
  OnCreate();
  return true;
}

// Each step on its own: one that fails is reported and leaves a window that
// still runs with what the others set up, and with the defaults.
void MainWindow::OnCreate() {
  HWND window = Handle();
  placement_.Attach(window);
  slider_.Attach(window, instance_);
  Boundary().Guarded(L"start-up", [&] {
    if (steps_.windowCreated) steps_.windowCreated(window);
  });
  Boundary().Guarded(L"keyboard", [&] { view_.Create(window, services_); });
  Boundary().Guarded(L"pointer input", [&] {
    if (Keyboard* keyboard = view_.Model()) {
      pointer_.Create(window, *keyboard, view_.Sender(), &sound_);
      if (WordRow* row = view_.Row()) input_.AddItemArea(*row);
    }
  });
  Boundary().Guarded(L"word prediction", [&] {
    prediction_.Create(window, view_, input_, services_.layouts, services_.learnedWords);
  });
  Boundary().Guarded(L"switch scanning", [&] { scanning_.Create(window, view_, input_); });
  Boundary().Guarded(L"color scheme", [&] { view_.SetColorScheme(ColorSchemeToShow(settings_)); });
  Boundary().Guarded(L"slider colors", [&] { slider_.SetBackground(view_.BackgroundColor()); });
  Boundary().Guarded(L"touch feedback", [&] { TurnOffTouchFeedback(window); });
  Boundary().Guarded(L"system menu", [&] { menu_.Create(window); });
  // Before the layout, which the keyboard choice names. A store that fails
  // leaves every option at its default alike.
  Boundary().Guarded(L"options", [&] {
    options_ = ReadOptions(settings_);
    input_.ApplyOptions(options_);
    view_.SetRowShown(options_.prediction);
    prediction_.Apply(options_);
  });
  Boundary().Guarded(L"layout", [&] {
    // Before the saved placement, which is the rectangle of this layout.
    const Size layout = view_.LoadLayout(LayoutNameOf(options_.keyboard));
    placement_.SetDesignClientSize(layout.cx,
                                   view_.ClientHeightFor(false, view_.RowShown(), layout.cy));
  });
  Boundary().Guarded(L"placement", [&] { placement_.PlaceDefault(); });
  ReadSettings();
  // Once the keys are laid out, which it scans.
  Boundary().Guarded(L"switch scanning", [&] { FollowScanOptions(); });
  Boundary().Guarded(L"menu check marks", [&] { menu_.Show(); });
}

// Stored values over the defaults, each read on its own.
void MainWindow::ReadSettings() {
  Boundary().Guarded(L"saved placement", [&] {
    placement_.Restore(RestorePlacement(settings_, placement_.Describe()));
  });
  Boundary().Guarded(L"transparency", [&] { slider_.SetPosition(AlphaBlendToShow(settings_)); });
  // The first-run address is blank and would open nothing; only the mark
  // that the first run is over is written.
  Boundary().Guarded(L"first run", [&] { MarkFirstRunDone(settings_); });
}

void MainWindow::ChangeColors() {
  view_.SetColorScheme(ChangeColorScheme(settings_));
  slider_.SetBackground(view_.BackgroundColor());
}

// The other keyboard, at the same key size. A held key could vanish with
// the old keys, so everything held is released first.
void MainWindow::SwitchKeyboard() {
  options_.keyboard =
      view_.LayoutName() == kFullLayoutName ? KeyboardChoice::kStandard : KeyboardChoice::kFull;
  input_.ReleaseHeldKeys();
  const std::int32_t fromDesignWidth = view_.DesignSize().cx;
  const Size layout = view_.LoadLayout(LayoutNameOf(options_.keyboard));
  menu_.Show();
  placement_.ChangeDesignWidth(fromDesignWidth, layout.cx);
  OnResize();
  // Written last: a failed write's error box stands over the finished switch.
  WriteOption(settings_, options_, Option::kKeyboard);
}

void MainWindow::FollowPredictionOption() {
  prediction_.Apply(options_);
  const bool was = view_.RowShown();
  if (options_.prediction == was) return;
  view_.SetRowShown(options_.prediction);
  placement_.ChangeClientHeight(
      [&](std::int32_t height) { return view_.ClientHeightFor(was, options_.prediction, height); });
  OnResize();
}

void MainWindow::FollowScanOptions() { scanning_.Apply(options_); }

void MainWindow::Show(int command) {
  placement_.ShowFirst(command);
  // Wine sends no WM_SHOWWINDOW when a hidden window is shown maximised.
  if (!shown_) OnShow();
}

void MainWindow::OnShow() {
  placement_.FitToWorkArea();
  // Wine and Windows need not send a size notification at the first show;
  // the keys must fit the client area once it is visible.
  const Rect client = win32::ClientRectangle(Handle());
  view_.Show(client.Width(), client.Height());
  shown_ = true;
  OnResize();
}

void MainWindow::OnSize(WPARAM kind, int width, int height) {
  // A restore hands the foreground back first, so that the layout read
  // right after it sees the application typed into, not this program.
  placement_.OnSize(kind);
  if (kind == SIZE_MINIMIZED) {
    // Nobody sees the keyboard: no timer wakes the program for it.
    view_.SetMinimised(true);
    scanning_.SetMinimised(true);
    input_.EndPress();
    prediction_.Save();
  } else {
    if (shown_)
      view_.SetMinimised(false);
    else
      slider_.StickToCorner(width, height, placement_.Dpi());
    OnResize();
    scanning_.SetMinimised(false);
  }
}

// Size changes before the first show (the client size of the layout) leave
// the keys as designed.
void MainWindow::OnResize() {
  if (!shown_) return;
  const Rect client = win32::ClientRectangle(Handle());
  view_.Resize(client.Width(), client.Height());
  input_.SetKeyOrigin(view_.KeyOrigin());
  scanning_.KeysPlaced(view_.KeyOrigin());
  slider_.Place(view_.SliderArea(client.Width(), client.Height(), placement_.Dpi()));
}

void MainWindow::OnTimer(UINT_PTR id) {
  switch (id) {
    case kPressTimer:
      input_.PressTimerTick();
      break;
    case kSliderCreateTimer:
      slider_.OnCreateTimer();
      break;
    case kLayoutPollTimer:
      view_.OnLayoutPollTimer();
      prediction_.Poll();
      break;
    case kHoverTimer:
      input_.HoverTimerTick();
      break;
    case kScanTimer:
      scanning_.OnTimer();
      break;
  }
}

// Moving, sizing and the system menu need this window in the foreground; the
// click itself cannot activate it. The window the user was typing into is
// noted first, for the end of the loop the press starts. The pointer is off
// the keys: a hover running ends. False for a press elsewhere.
bool MainWindow::OnNcButtonDown(WPARAM hitTest, bool left) {
  if (hitTest != HTCAPTION && hitTest != HTSYSMENU && (hitTest < HTLEFT || hitTest > HTBOTTOMRIGHT))
    return false;
  if (HWND foreground = GetForegroundWindow(); foreground != Handle())
    foregroundBeforeLoop_ = foreground;
  input_.PointerLeave();
  if (left) win32::ForceForegroundWindow(Handle(), true);
  return true;
}

// The menu or the move/size loop holds the pointer: a hover running now
// would click under the menu. The next one starts at the next move onto a
// key after the loop.
void MainWindow::OnModalLoopStart() { input_.PointerLeave(); }

// Keys go to the application again, not to this window, which only took the
// foreground for the loop.
void MainWindow::OnModalLoopEnd() {
  HWND target = std::exchange(foregroundBeforeLoop_, nullptr);
  if (target && target != Handle() && IsWindow(target)) win32::ForceForegroundWindow(target, false);
  POINT cursor{};
  if (GetCursorPos(&cursor))
    pointerAtLoopEnd_ = cursor;
  else
    pointerAtLoopEnd_.reset();
}

// A hover starts at a move onto a key, and the pointer resting where a menu
// item was chosen has not moved.
void MainWindow::OnMouseMove(int x, int y, WPARAM keys) {
  if (pointerAtLoopEnd_) {
    POINT at{x, y};
    ClientToScreen(Handle(), &at);
    if (at.x == pointerAtLoopEnd_->x && at.y == pointerAtLoopEnd_->y) return;
    pointerAtLoopEnd_.reset();
  }
  pointer_.OnMove(x, y, keys);
}

void MainWindow::OnButton(MouseButton button, bool down, LPARAM position) {
  if (scanning_.OnMouseButton(down, static_cast<std::uint32_t>(GetMessageTime()))) return;
  if (down)
    pointer_.OnButtonDown(button, GET_X_LPARAM(position), GET_Y_LPARAM(position));
  else
    pointer_.OnButtonUp(button);
}

// Nothing may stay down in the system once the keyboard is gone: a latched
// Shift would keep the user's real keyboard shifted. That comes before the
// saving, and the message loop ends whatever failed.
void MainWindow::OnDestroy() {
  Boundary().Guarded(L"release keys", [&] {
    scanning_.Stop();
    view_.Stop();
    input_.ReleaseHeldKeys();
  });
  Boundary().Guarded(L"saving", [&] {
    SaveWindowSettings(settings_, options_, slider_.Position(), placement_.Describe());
  });
  Boundary().Guarded(L"learned words", [&] { prediction_.Save(); });
  PostQuitMessage(0);
}

LRESULT MainWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      // Wine activates even a WS_EX_NOACTIVATE window on a click unless told
      // not to; Windows gives this answer for such windows anyway.
      return MA_NOACTIVATE;
    case WM_SHOWWINDOW:
      if (wParam) OnShow();
      break;
    case WM_SIZE:
      OnSize(wParam, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_WINDOWPOSCHANGING:
      placement_.OnWindowPosChanging(*reinterpret_cast<WINDOWPOS*>(lParam));
      break;
    case WM_DPICHANGED:
      // Keys, fonts and slider follow the new size through WM_SIZE.
      if (lParam) placement_.OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the keyboard picture covers the whole client area
    case WM_PAINT:
      view_.Paint();
      slider_.OnParentPainted();
      return 0;
    case WM_HSCROLL:
      slider_.OnScroll(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
      // The trackbar asks its parent for the brush behind it: the keyboard's
      // background, so that the slider stands on the keyboard, not on grey.
      if (HBRUSH brush = slider_.BackgroundFor(reinterpret_cast<HWND>(lParam)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      OnButton(MouseButton::Left, msg == WM_LBUTTONDOWN, lParam);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      OnButton(MouseButton::Right, msg == WM_RBUTTONDOWN, lParam);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      OnButton(MouseButton::Middle, msg == WM_MBUTTONDOWN, lParam);
      return 0;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
      // Only ever the switch: the keys have no use for them.
      if (scanning_.OnMouseButton(msg == WM_XBUTTONDOWN,
                                  static_cast<std::uint32_t>(GetMessageTime())))
        return TRUE;
      break;
    case SwitchScanning::kSwitchMessage:
      scanning_.OnSwitchMessage(wParam, lParam);
      return 0;
    case WordPrediction::kClickElsewhere:
      prediction_.ClickedElsewhere();
      return 0;
    case WordPrediction::kPasswordAnswer:
      prediction_.PasswordAnswered(wParam, lParam);
      return 0;
    case WordPrediction::kFocusMoved:
      prediction_.FocusMoved(reinterpret_cast<HWND>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
      return 0;
    case WM_MOUSELEAVE:
      input_.PointerLeave();
      return 0;
    case WM_CAPTURECHANGED:
      pointer_.OnCaptureChanged(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_NCLBUTTONDOWN:
      if (OnNcButtonDown(wParam, true)) {
        // The loop runs inside; a click that starts none (no drag, as Wine
        // has it) gives the foreground back here.
        const LRESULT result = DefaultProc(msg, wParam, lParam);
        OnModalLoopEnd();
        return result;
      }
      break;
    case WM_NCRBUTTONDOWN:
      OnNcButtonDown(wParam, false);
      break;
    case WM_ENTERMENULOOP:
    case WM_ENTERSIZEMOVE:
      OnModalLoopStart();
      break;
    case WM_EXITMENULOOP:
    case WM_EXITSIZEMOVE:
      OnModalLoopEnd();
      break;
    case WM_SYSCOMMAND:
      if (menu_.OnCommand(wParam)) {
        FollowPredictionOption();
        return 0;
      }
      break;
    case kTabletQuerySystemGestureStatus:
      return kNoSystemGestures;
    case WM_QUERYENDSESSION:
      // The keyboard never holds up a logoff or shutdown; it saves at
      // WM_ENDSESSION, once the session really ends.
      return TRUE;
    case WM_ENDSESSION:
      // Logoff and shutdown take the path of a normal exit, at once: the
      // system may end the process as soon as this message returns.
      if (wParam) {
        DestroyWindow(Handle());
        if (steps_.sessionEnded) steps_.sessionEnded();
      }
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return DefaultProc(msg, wParam, lParam);
}

}  // namespace luma::app
