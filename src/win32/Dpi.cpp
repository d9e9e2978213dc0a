#include "win32/Dpi.h"

#include "placement/Dpi.h"
#include "win32/ProcAddress.h"

namespace luma::win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct DpiCalls {
  GetDpiForWindowFn getDpiForWindow = nullptr;
  GetDpiForSystemFn getDpiForSystem = nullptr;
  AdjustWindowRectExForDpiFn adjustWindowRectExForDpi = nullptr;
};

const DpiCalls& Calls() {
  static const DpiCalls calls = [] {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    DpiCalls found;
    found.getDpiForWindow = ProcAddress<GetDpiForWindowFn>(user32, "GetDpiForWindow");
    found.getDpiForSystem = ProcAddress<GetDpiForSystemFn>(user32, "GetDpiForSystem");
    found.adjustWindowRectExForDpi =
        ProcAddress<AdjustWindowRectExForDpiFn>(user32, "AdjustWindowRectExForDpi");
    return found;
  }();
  return calls;
}

UINT ScreenCaps(int index) {
  HDC screen = GetDC(nullptr);
  const int value = screen ? GetDeviceCaps(screen, index) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return value > 0 ? static_cast<UINT>(value) : static_cast<UINT>(kDesignDpi);
}

}  // namespace

UINT WindowDpi(HWND window) {
  if (Calls().getDpiForWindow && window) {
    if (const UINT dpi = Calls().getDpiForWindow(window)) return dpi;
  }
  return SystemDpi();
}

UINT SystemDpi() {
  if (Calls().getDpiForSystem) {
    if (const UINT dpi = Calls().getDpiForSystem()) return dpi;
  }
  return ScreenCaps(LOGPIXELSX);
}

UINT FontDpi() { return ScreenCaps(LOGPIXELSY); }

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
  if (Calls().adjustWindowRectExForDpi)
    return Calls().adjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi) != 0;
  return AdjustWindowRectEx(&rect, style, FALSE, exStyle) != 0;
}

}  // namespace luma::win32
