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
  AppendMenuW(menu, MF_STRING, kFullKeyboard, L"Full Keyboard");
}

void SystemMenu::ShowAutoClick() {
  ModifyMenuW(GetSystemMenu(window_, FALSE), kAutoClick,
              MF_BYCOMMAND | MF_STRING | (input_.AutoClick() ? MF_CHECKED : MF_UNCHECKED),
              kAutoClick, L"Auto Click");
}

void SystemMenu::ShowFullKeyboard(bool full) {
  CheckMenuItem(GetSystemMenu(window_, FALSE), kFullKeyboard,
                MF_BYCOMMAND | (full ? MF_CHECKED : MF_UNCHECKED));
}

// The first three ids are compared whole, as they always were; the newer
// ones without the low four bits, which the system uses for itself.
bool SystemMenu::OnCommand(WPARAM command) {
  if ((command & ~WPARAM{0xF}) == kFullKeyboard) {
    if (switchKeyboard_) switchKeyboard_();
    return true;
  }
  switch (command) {
    case kAutoClick:
      input_.SetAutoClick(!input_.AutoClick());
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
