#include "win32/RestoreTarget.h"

namespace luma::win32 {
namespace {

struct RestoreSearch {
  HWND self;
  HWND target = nullptr;
};

BOOL CALLBACK TakeFirstTarget(HWND candidate, LPARAM lParam) {
  auto* search = reinterpret_cast<RestoreSearch*>(lParam);
  if (!IsRestoreTarget(candidate, search->self)) return TRUE;
  search->target = candidate;
  return FALSE;
}

}  // namespace

bool IsRestoreTarget(HWND candidate, HWND self) {
  if (!IsWindowVisible(candidate) || candidate == self || IsIconic(candidate)) return false;
  WINDOWINFO info{};
  info.cbSize = sizeof(info);
  GetWindowInfo(candidate, &info);
  if (info.dwExStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) return false;
  HWND owner = GetWindow(candidate, GW_OWNER);
  return (info.dwExStyle & WS_EX_APPWINDOW) || !owner || !IsWindowVisible(owner);
}

HWND FindRestoreTarget(HWND self) {
  RestoreSearch search{self};
  EnumWindows(TakeFirstTarget, reinterpret_cast<LPARAM>(&search));
  return search.target;
}

}  // namespace luma::win32
