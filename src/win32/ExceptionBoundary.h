// Where the program meets the system (the window procedure, the creation
// steps, the entry point) no exception may pass: the system cannot unwind a
// C++ exception through its own frames. These catch it, note it, show it to
// the user once a reporter is set, and go on.
#pragma once

#include <cstddef>

#include "platform/Diagnostics.h"

namespace luma::win32 {

// From now on a caught exception's text also goes to reporter (null: noted
// only). The reporter must outlive the setting; the scope below resets it.
void SetExceptionReporter(luma::ErrorReporter* reporter) noexcept;

class ExceptionReportingScope {
 public:
  explicit ExceptionReportingScope(luma::ErrorReporter& reporter) noexcept {
    SetExceptionReporter(&reporter);
  }
  ~ExceptionReportingScope() { SetExceptionReporter(nullptr); }
  ExceptionReportingScope(const ExceptionReportingScope&) = delete;
  ExceptionReportingScope& operator=(const ExceptionReportingScope&) = delete;
};

// The text noted for the exception being handled: "Lumatype: <what> (<where>)".
// Call only inside a catch block. Never throws; the text is cut to fit.
void DescribeCaughtException(const wchar_t* where, wchar_t* text, std::size_t size) noexcept;

// Notes the exception being handled where a debugger sees it
// (OutputDebugString) and reports its text. A report that is still showing
// (a message box runs the window's messages) makes later ones notes only.
// Call only inside a catch block.
void NoteCaughtException(const wchar_t* where) noexcept;

// Runs step; an exception it throws is noted and ends the step only.
// True when the step ran to its end.
template <class Step>
bool Guarded(const wchar_t* where, Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (...) {
    NoteCaughtException(where);
    return false;
  }
}

}  // namespace luma::win32
