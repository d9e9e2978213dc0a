#include "app/SystemMenu.h"

#include <string>

#include "win32/ProcAddress.h"

namespace luma::app {
namespace {

constexpr wchar_t kWebSiteHost[] = L"www.lumatype.org";

// shell32 is loaded when the site is first opened, not at every start, and
// stays: what ShellExecute starts may still be running in it.
void OpenWebSite(HWND owner) {
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  static const HMODULE shell = LoadLibraryW(L"shell32.dll");
  if (!shell) return;
  const auto shellExecute = win32::ProcAddress<ShellExecuteFn>(shell, "ShellExecuteW");
  if (shellExecute) shellExecute(owner, nullptr, kWebSiteHost, nullptr, L"", SW_SHOWNORMAL);
}

}  // namespace

void SystemMenu::Create(HWND window) {
  window_ = window;
  HMENU menu = GetSystemMenu(window, FALSE);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kAutoClick, L"Auto Click");
  AppendMenuW(menu, MF_STRING, kChangeColors, L"Change Colors");
  const std::wstring open = std::wstring(L"Open ") + kWebSiteHost;
  AppendMenuW(menu, MF_STRING, kOpenWebSite, open.c_str());
}

void SystemMenu::ShowAutoClick() {
  ModifyMenuW(GetSystemMenu(window_, FALSE), kAutoClick,
              MF_BYCOMMAND | MF_STRING | (pointer_.AutoClick() ? MF_CHECKED : MF_UNCHECKED),
              kAutoClick, L"Auto Click");
}

// The whole wParam is compared: these ids are not system commands, whose
// low four bits the system uses for itself.
bool SystemMenu::OnCommand(WPARAM command) {
  switch (command) {
    case kAutoClick:
      pointer_.SetAutoClick(!pointer_.AutoClick());
      ShowAutoClick();
      return true;
    case kChangeColors:
      if (changeColors_) changeColors_();
      return true;
    case kOpenWebSite:
      OpenWebSite(window_);
      return true;
  }
  return false;
}

}  // namespace luma::app
