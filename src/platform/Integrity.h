// Whether keys sent from this process can reach the foreground window:
// Windows drops synthetic input to a process of a higher integrity level
// without a word. One Win32 implementation (win32/), a fake in the tests.
#pragma once

#include <cstdint>

namespace luma {

// A window handle's bits, unchanged; 0 for none.
using WindowId = std::uintptr_t;

// How the integrity level of a window's process compares with this one's.
enum class IntegrityOrder { kLower, kEqual, kHigher, kUnknown };

class IntegrityProbe {
 public:
  virtual ~IntegrityProbe() = default;
  // GetForegroundWindow.
  virtual WindowId ForegroundWindow() = 0;
  // The level of the process that owns window against this process's;
  // kUnknown when that process or its token cannot be read.
  virtual IntegrityOrder CompareWithOwn(WindowId window) = 0;
};

}  // namespace luma
