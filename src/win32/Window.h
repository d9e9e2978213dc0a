// The window helper, written once: binds the C++ object to its HWND at
// WM_NCCREATE and routes every later message to Derived::HandleMessage.
// Derived answers what it handles and passes the rest to DefWindowProcW.
// No exception leaves a handler: it is noted and the message gets the
// default processing instead (a WM_PAINT is still validated, a creation
// still goes on).
#pragma once

#include <windows.h>

#include <cwchar>

#include "win32/ExceptionBoundary.h"

namespace luma::win32 {

template <class Derived>
class BaseWindow {
 public:
  HWND Handle() const { return hwnd_; }

  // Registers Derived's class once per process; true if it is registered.
  static bool RegisterWindowClass(const wchar_t* className, UINT style = 0,
                                  HBRUSH background = nullptr, HICON icon = nullptr) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = style;
    wc.lpfnWndProc = &BaseWindow::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

 protected:
  BaseWindow() = default;
  ~BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  HWND CreateWindowHandle(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                          DWORD style, int x, int y, int width, int height, HWND parent = nullptr) {
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), static_cast<Derived*>(this));
  }

  // Where exceptions caught in this window's handlers and steps end up.
  ExceptionBoundary& Boundary() { return boundary_; }

  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      self = static_cast<Derived*>(create->lpCreateParams);
      static_cast<BaseWindow*>(self)->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    // WM_GETMINMAXINFO arrives before WM_NCCREATE, when nothing is bound yet.
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
      result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      wchar_t where[32];
      std::swprintf(where, 32, L"window message 0x%04X", message);
      static_cast<BaseWindow*>(self)->boundary_.NoteCaught(where);
      result = DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      static_cast<BaseWindow*>(self)->hwnd_ = nullptr;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
  ExceptionBoundary boundary_;
};

}  // namespace luma::win32
