// Functions looked up at run time, in modules loaded when first needed or
// absent on older systems.
#pragma once

#include <windows.h>

namespace luma::win32 {

// The function name of module, as its own type; null when either is missing.
template <class Fn>
Fn ProcAddress(HMODULE module, const char* name) {
  // GetProcAddress hands back a generic function pointer; going through
  // void(*)() is the cast the compiler accepts for any function type.
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
                : nullptr;
}

}  // namespace luma::win32
