// Entry point: what the process sets up around the window, in the order the
// window relies on, and the message loop. Objects are destroyed in reverse:
// the window (which saves) before the settings store, the store before the
// error box and the back ends it reports through.
#include <windows.h>

#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "process/DiagnosticLog.h"
#include "process/Switches.h"
#include "settings/SettingsStore.h"
#include "win32/ErrorBox.h"
#include "win32/ExceptionBoundary.h"
#include "win32/IniFileBackEnd.h"
#include "win32/LocalClock.h"
#include "win32/ProcessEnvironment.h"
#include "win32/RegistryBackEnd.h"

namespace {

int Run(HINSTANCE instance, int show) {
  const std::vector<std::string> params = luma::win32::CommandLineParameters();
  const std::string dir = luma::ProgramDirOf(luma::win32::ProgramPath());
  luma::win32::Win32FileSystem files;
  luma::win32::Win32LocalClock clock;
  luma::win32::MessageBoxErrorReporter errors;
  luma::DiagnosticLog log(luma::HasSwitch(params, luma::kDebugSwitch), dir, files, clock);

  luma::win32::Win32RegistryKey registry;
  luma::win32::Win32ProfileFile profile;
  const luma::SettingsLocation location{luma::HasSwitch(params, luma::kCommonSwitch)
                                            ? luma::RegistryRoot::kLocalMachine
                                            : luma::RegistryRoot::kCurrentUser};
  luma::SettingsStore settings(registry, profile, errors, location);

  luma::app::ProcessSteps steps;
  steps.errors = &errors;
  steps.windowCreated = [&](HWND window) {
    log.Write("MainForm");
    settings.BindIniFile(dir, files);
    errors.SetOwner(window);
  };
  // The window has saved; the store closes its key and writes out the
  // settings file before the process ends, without returning to the system.
  // The store itself stays, for the window that still refers to it.
  steps.sessionEnded = [&] {
    errors.SetOwner(nullptr);
    settings.Finish();
    ExitProcess(0);
  };
  luma::app::MainWindow window(settings, steps);
  if (!window.Create(instance)) return 1;
  window.Show(show);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  errors.SetOwner(nullptr);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  try {
    return Run(instance, show);
  } catch (...) {
    luma::win32::MessageBoxErrorReporter errors;
    luma::win32::ExceptionBoundary(&errors).NoteCaught(L"start-up");
    return 1;
  }
}
