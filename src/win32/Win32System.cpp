#include "win32/Win32System.h"

#include <array>

#include "win32/Handles.h"
#include "win32/ProcAddress.h"

namespace luma::win32 {

std::uint16_t Win32KeySender::ScanCode(std::uint16_t vk) {
  // The plain form: the layout of the program's own thread.
  return static_cast<std::uint16_t>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
}

void Win32KeySender::Send(const luma::KeyEvent& event) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = event.vk;
  input.ki.wScan = event.scan;
  input.ki.dwFlags = event.flags;
  input.ki.time = event.time;
  input.ki.dwExtraInfo = static_cast<ULONG_PTR>(event.extraInfo);
  SendInput(1, &input, sizeof(INPUT));
}

void Win32KeySender::GetKeyboardState(luma::KeyStateArray& state) {
  // The key state of a thread whose window never has the focus goes stale
  // (a lock key toggled on a physical keyboard would not show); a
  // GetKeyState call first brings it up to date with the system's.
  ::GetKeyState(0);
  if (!::GetKeyboardState(state.data())) state.fill(0);
  // A thread's own state knows only the input it has read: a modifier put
  // down before the thread existed (left latched by a keyboard that was
  // killed) is missing from it, under Wine always, and would never be let
  // go. Only the modifiers: this runs before each press.
  for (const int vk :
       {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN})
    if (GetAsyncKeyState(vk) & 0x8000) state[static_cast<std::size_t>(vk)] |= 0x80;
}

std::vector<luma::Hkl> Win32KeyboardLayouts::List(int maxCount) {
  if (maxCount <= 0) return {};
  std::vector<HKL> handles(static_cast<std::size_t>(maxCount));
  const int n = GetKeyboardLayoutList(maxCount, handles.data());
  std::vector<luma::Hkl> list;
  for (int i = 0; i < n && i < maxCount; ++i) list.push_back(FromHkl(handles[i]));
  return list;
}

luma::Hkl Win32KeyboardLayouts::Load(const std::string& layoutId) {
  return FromHkl(LoadKeyboardLayoutA(layoutId.c_str(), 0));
}

void Win32KeyboardLayouts::Unload(luma::Hkl hkl) { UnloadKeyboardLayout(ToHkl(hkl)); }

unsigned Win32KeyboardLayouts::MapVirtualKeyEx(unsigned code, unsigned mapType, luma::Hkl hkl) {
  return MapVirtualKeyExA(code, mapType, ToHkl(hkl));
}

int Win32KeyboardLayouts::ToUnicodeEx(unsigned vk, unsigned scanCode,
                                      const luma::KeyStateArray& state, char16_t* buffer,
                                      int bufferSize, unsigned flags, luma::Hkl hkl) {
  if (!buffer || bufferSize <= 0) return 0;
  return ::ToUnicodeEx(vk, scanCode, state.data(), reinterpret_cast<LPWSTR>(buffer), bufferSize,
                       flags, ToHkl(hkl));
}

std::u16string Win32KeyboardLayouts::UpperCase(std::u16string text) {
  if (!text.empty())
    CharUpperBuffW(reinterpret_cast<LPWSTR>(text.data()), static_cast<DWORD>(text.size()));
  return text;
}

luma::Hkl Win32ForegroundLayout::Read() {
  HWND foreground = GetForegroundWindow();
  if (foreground != window_) {
    window_ = foreground;
    thread_ = GetWindowThreadProcessId(foreground, nullptr);
  }
  return FromHkl(GetKeyboardLayout(thread_));
}

luma::Color Win32SystemColors::GetSysColor(unsigned index) {
  return ::GetSysColor(static_cast<int>(index));
}

luma::Color Win32SystemColors::NearestColor(luma::Color color) {
  WindowDc screen(nullptr);
  if (!screen) return color;
  const COLORREF nearest = GetNearestColor(screen.Get(), color);
  return nearest == CLR_INVALID ? color : nearest;
}

void Win32Cursor::SetBusy(bool busy) {
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void WindowTimer::Start(std::uint32_t intervalMs) {
  // SetTimer with an id already running replaces it and counts from now.
  running_ = SetTimer(window_, id_, intervalMs, nullptr) != 0;
}

void WindowTimer::Stop() {
  if (running_) KillTimer(window_, id_);
  running_ = false;
}

unsigned WindowsMajorVersion() {
  // GetVersionEx reports what the manifest admits to; RtlGetVersion does not lie.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  if (HMODULE ntdll = GetModuleHandleW(L"ntdll.dll")) {
    if (auto rtlGetVersion = ProcAddress<RtlGetVersionFn>(ntdll, "RtlGetVersion")) {
      OSVERSIONINFOW info{};
      info.dwOSVersionInfoSize = sizeof(info);
      if (rtlGetVersion(&info) == 0) return info.dwMajorVersion;
    }
  }
  return 0;
}

luma::VisualStyleInfo QueryVisualStyle() {
  luma::VisualStyleInfo style;
  style.windowsMajorVersion = WindowsMajorVersion();

  // The library is optional: systems without visual styles have no UxTheme.dll.
  Module uxtheme(LoadLibraryA("UxTheme.dll"));
  if (!uxtheme) return style;
  using IsThemeActiveFn = BOOL(WINAPI*)();
  using GetCurrentThemeNameFn = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
  const auto isThemeActive = ProcAddress<IsThemeActiveFn>(uxtheme.Get(), "IsThemeActive");
  const auto getCurrentThemeName =
      ProcAddress<GetCurrentThemeNameFn>(uxtheme.Get(), "GetCurrentThemeName");
  style.inUse = isThemeActive && isThemeActive();
  if (!style.inUse || !getCurrentThemeName) return style;

  constexpr int kUnits = 1024;
  std::array<wchar_t, kUnits> file{}, color{}, size{};
  const HRESULT hr =
      getCurrentThemeName(file.data(), kUnits, color.data(), kUnits, size.data(), kUnits);
  style.nameQueryOk = hr >= 0;
  if (style.nameQueryOk) {
    file.back() = color.back() = L'\0';
    const std::wstring fileText(file.data());
    const std::wstring colorText(color.data());
    style.themeFile.assign(fileText.begin(), fileText.end());
    style.colorName.assign(colorText.begin(), colorText.end());
  }
  return style;
}

}  // namespace luma::win32
