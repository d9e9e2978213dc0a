// Where the program meets the system (the window procedure, the creation
// steps, the entry point) no exception may pass: the system cannot unwind a
// C++ exception through its own frames. These catch it, note it and go on.
#pragma once

#include <cstddef>

namespace luma::win32 {

// The text noted for the exception being handled: "Lumatype: <what> (<where>)".
// Call only inside a catch block. Never throws; the text is cut to fit.
void DescribeCaughtException(const wchar_t* where, wchar_t* text, std::size_t size) noexcept;

// Notes the exception being handled where a debugger sees it
// (OutputDebugString). Call only inside a catch block.
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
