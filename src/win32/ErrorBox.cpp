#include "win32/ErrorBox.h"

#include "process/ErrorReport.h"

namespace luma::win32 {

void MessageBoxErrorReporter::Report(const std::string& message) {
  // An owner already destroyed would leave the box without one anyway.
  MessageBoxA(IsWindow(owner_) ? owner_ : nullptr, luma::ErrorReportText(message).c_str(),
              luma::kErrorReportCaption, MB_OK | MB_ICONERROR);
}

}  // namespace luma::win32
