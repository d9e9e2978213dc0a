// Entry point: common controls for the slider, the main window, the message loop.
#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include "app/MainWindow.h"
#include "win32/ExceptionBoundary.h"

namespace {

int Run(HINSTANCE instance, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  luma::app::MainWindow window;
  if (!window.Create(instance)) return 1;
  // Never activated, also not when first shown.
  ShowWindow(window.Handle(), show == SW_SHOWMAXIMIZED     ? SW_SHOWMAXIMIZED
                              : show == SW_SHOWMINNOACTIVE ? SW_SHOWMINNOACTIVE
                                                           : SW_SHOWNOACTIVATE);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  try {
    return Run(instance, show);
  } catch (...) {
    luma::win32::NoteCaughtException(L"start-up");
    return 1;
  }
}
