// Where the program meets the system (the window procedure, the creation
// steps, the entry point) no exception may pass: the system cannot unwind a
// C++ exception through its own frames. These catch it, note it, show it to
// the user where there is a reporter, and go on.
#pragma once

#include <cstddef>

#include "platform/ErrorReporter.h"

namespace luma::win32 {

// The text noted for the exception being handled: "Lumatype: <what> (<where>)".
// Call only inside a catch block. Never throws; the text is cut to fit.
void DescribeCaughtException(const wchar_t* where, wchar_t* text, std::size_t size) noexcept;

// Notes the exception being handled where a debugger sees it
// (OutputDebugString). Call only inside a catch block.
void NoteCaughtException(const wchar_t* where) noexcept;

// A border with the system, owned by what sits on it (a window, the entry
// point): a caught exception is noted and its text reported to the user.
class ExceptionBoundary {
 public:
  explicit ExceptionBoundary(luma::ErrorReporter* reporter = nullptr) noexcept
      : reporter_(reporter) {}
  // Null: noted only. The reporter must outlive its setting.
  void SetReporter(luma::ErrorReporter* reporter) noexcept { reporter_ = reporter; }

  // Notes the exception being handled and reports it. A report that is still
  // showing (a message box runs the window's messages) makes later ones notes
  // only. Call only inside a catch block.
  void NoteCaught(const wchar_t* where) noexcept;

  // Runs step; an exception it throws is noted and ends the step only.
  // True when the step ran to its end.
  template <class Step>
  bool Guarded(const wchar_t* where, Step&& step) noexcept {
    try {
      step();
      return true;
    } catch (...) {
      NoteCaught(where);
      return false;
    }
  }

 private:
  luma::ErrorReporter* reporter_;
  bool reporting_ = false;
};

}  // namespace luma::win32
