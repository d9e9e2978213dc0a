// The error report as a message box.
#pragma once

#include <windows.h>

#include <string>

#include "platform/ErrorReporter.h"

namespace luma::win32 {

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
