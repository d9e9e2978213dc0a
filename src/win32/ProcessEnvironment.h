// What the process learns from the system at start-up (its own path, its
// parameters), the local clock of the log, and the error report's box.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/Diagnostics.h"

namespace luma::win32 {

// The executable's full path, in the ANSI code page.
std::string ProgramPath();

// The parameters after the program's own path, split as the C runtime
// splits them (quotes group blanks), in the ANSI code page.
std::vector<std::string> CommandLineParameters(const wchar_t* commandLine = GetCommandLineW());

class Win32LocalClock : public luma::LocalClock {
 public:
  luma::LocalTime Now() override;
  std::string ShortDate(const luma::LocalTime& time) override;
  std::string LongTime(const luma::LocalTime& time) override;
};

// A message box captioned "Lumatype" with the error icon and an OK button,
// owned by the main window once there is one. Returns after OK.
class MessageBoxErrorReporter : public luma::ErrorReporter {
 public:
  void SetOwner(HWND owner) { owner_ = owner; }
  void Report(const std::string& message) override;

 private:
  HWND owner_ = nullptr;
};

}  // namespace luma::win32
