// Entry point: common controls for the slider, the main window, the message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/MainWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  luma::app::MainWindow form;
  if (!form.Create(instance)) return 1;
  // Never activated, also not when first shown.
  ShowWindow(form.Handle(), show == SW_SHOWMAXIMIZED   ? SW_SHOWMAXIMIZED
                            : show == SW_SHOWMINNOACTIVE ? SW_SHOWMINNOACTIVE
                                                         : SW_SHOWNOACTIVATE);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
