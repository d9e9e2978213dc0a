#include "win32/Focus.h"

#include <cstdint>

namespace luma::win32 {

namespace {

void SetForegroundLockTimeout(DWORD ms) {
  // The new value travels in the pointer argument. No SPIF flags: the change
  // is neither written to the profile nor broadcast.
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<PVOID>(static_cast<std::uintptr_t>(ms)), 0);
}

}  // namespace

void ForceForegroundWindow(HWND window, bool showIfHidden) {
  if (!window || !IsWindow(window) || window == GetForegroundWindow()) return;

  if (showIfHidden && !IsWindowVisible(window)) ShowWindowAsync(window, SW_SHOW);

  // Only a time-out that could be read is zeroed, so that it can be put back.
  DWORD savedTimeout = 0;
  const bool haveTimeout =
      SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &savedTimeout, 0) != FALSE;
  if (haveTimeout) SetForegroundLockTimeout(0);

  if (window != GetForegroundWindow()) {
    if (!SetForegroundWindow(window)) {
      // An empty mouse event makes this process the one that received the
      // last input, which the foreground rules let through.
      INPUT input{};
      input.type = INPUT_MOUSE;
      SendInput(1, &input, sizeof(INPUT));
    }
    SetForegroundWindow(window);
  }

  if (haveTimeout) SetForegroundLockTimeout(savedTimeout);

  if (IsIconic(window)) ShowWindowAsync(window, SW_RESTORE);
  if (window != GetForegroundWindow()) ShowWindowAsync(window, SW_SHOW);
}

}  // namespace luma::win32
