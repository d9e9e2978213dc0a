// The integrity level of the foreground window's process against this
// process's, through its access token.
#pragma once

#include <windows.h>

#include "platform/Integrity.h"

namespace luma::win32 {

// The mandatory label's RID of a process's token (SECURITY_MANDATORY_*_RID);
// false when the process or its token cannot be read.
bool ProcessIntegrityLevel(HANDLE process, DWORD& level);

class Win32IntegrityProbe : public luma::IntegrityProbe {
 public:
  luma::WindowId ForegroundWindow() override;
  luma::IntegrityOrder CompareWithOwn(luma::WindowId window) override;

 private:
  // This process's level, read once.
  bool ownRead_ = false;
  bool ownKnown_ = false;
  DWORD own_ = 0;
};

}  // namespace luma::win32
