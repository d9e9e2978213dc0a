// The yardstick of the start-up benchmark: a bare Win32 window of the same
// build and size. Its first paint draws one key outline where Lumatype draws
// its Esc key, in the same color, so that the benchmark's probe waits for
// the same pixel in both programs.
#include <windows.h>

namespace {

constexpr COLORREF kKeyBorder = RGB(0x7A, 0xA0, 0xDA);

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
      HBRUSH border = CreateSolidBrush(kKeyBorder);
      RECT key{0, 0, 31, 31};
      FrameRect(dc, &key, border);
      DeleteObject(border);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"BareWindow";
  RegisterClassW(&wc);
  RECT frame{0, 0, 441, 181};
  DWORD style = WS_OVERLAPPEDWINDOW;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_TOPMOST | WS_EX_NOACTIVATE);
  HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"BareWindow", L"Bare", style,
                              CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
