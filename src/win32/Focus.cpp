#include "win32/Focus.h"

#include <cstdint>
#include <cwchar>
#include <iterator>

namespace luma::win32 {

namespace {

void SetForegroundLockTimeout(DWORD ms) {
  // The new value travels in the pointer argument. No SPIF flags: the change
  // is neither written to the profile nor broadcast.
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<PVOID>(static_cast<std::uintptr_t>(ms)), 0);
}

// "Edit" and the rich edits ("RICHEDIT", "RichEdit20W", "RICHEDIT50W", ...)
// in any case. Other classes may use the password style's bit for their own.
bool IsEditClass(const wchar_t* name) {
  constexpr wchar_t kRichEdit[] = L"RichEdit";
  return _wcsicmp(name, L"Edit") == 0 || _wcsnicmp(name, kRichEdit, std::size(kRichEdit) - 1) == 0;
}

bool IsEditControl(HWND control) {
  wchar_t name[64] = {};
  if (GetClassNameW(control, name, static_cast<int>(std::size(name))) > 0 && IsEditClass(name))
    return true;
  // A class derived from an edit (a framework's text box) reports here the
  // system class it was built on; Wine gives its own name again.
  return RealGetWindowClassW(control, name, static_cast<UINT>(std::size(name))) > 0 &&
         IsEditClass(name);
}

}  // namespace

bool FocusedControlIsPassword() {
  HWND foreground = GetForegroundWindow();
  if (!foreground) return false;
  GUITHREADINFO thread{};
  thread.cbSize = sizeof(thread);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &thread)) return false;
  HWND focus = thread.hwndFocus;
  if (!focus) return false;
  return IsEditControl(focus) && (GetWindowLongPtrW(focus, GWL_STYLE) & ES_PASSWORD) != 0;
}

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
