// Move-only owners of the Win32 handles the shell uses. Each releases its
// handle exactly once, with the call that matches how it was obtained.
#pragma once

#include <windows.h>

#include <utility>

namespace luma::win32 {

// An owned handle with a release policy. The policy says which value means
// "owns nothing" (Invalid(): null for most handles, INVALID_HANDLE_VALUE for
// a file) and how a handle is released.
template <class H, class Policy>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(H handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, Policy::Invalid())) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, Policy::Invalid());
    }
    return *this;
  }

  H Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Policy::Invalid(); }
  H Release() { return std::exchange(handle_, Policy::Invalid()); }
  void Reset(H handle = Policy::Invalid()) {
    if (handle_ != Policy::Invalid()) Policy::Free(handle_);
    handle_ = handle;
  }

 private:
  H handle_ = Policy::Invalid();
};

// Handles that are null when there is none.
template <class H>
struct NullIsInvalid {
  static H Invalid() { return nullptr; }
};

template <class T>
struct DeleteGdiObject : NullIsInvalid<T> {
  static void Free(T object) { DeleteObject(object); }
};
struct DeleteMemoryDc : NullIsInvalid<HDC> {
  static void Free(HDC dc) { DeleteDC(dc); }
};
struct FreeModule : NullIsInvalid<HMODULE> {
  static void Free(HMODULE module) { FreeLibrary(module); }
};
// CreateFile fails with INVALID_HANDLE_VALUE, not null.
struct CloseFile {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Free(HANDLE file) { CloseHandle(file); }
};

template <class T>
using GdiObject = UniqueHandle<T, DeleteGdiObject<T>>;  // HFONT, HBITMAP, HPEN, HBRUSH
using MemoryDc = UniqueHandle<HDC, DeleteMemoryDc>;     // from CreateCompatibleDC
using Module = UniqueHandle<HMODULE, FreeModule>;       // from LoadLibrary
using File = UniqueHandle<HANDLE, CloseFile>;           // from CreateFile

// A DC obtained with GetDC: it must go back with ReleaseDC to the same window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() { Reset(); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  WindowDc(WindowDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      Reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  void Reset() {
    if (dc_) ReleaseDC(window_, dc_);
    dc_ = nullptr;
    window_ = nullptr;
  }
  HWND window_;
  HDC dc_;
};

// The DC of one WM_PAINT: BeginPaint at construction, EndPaint (which
// validates the area) at the end. Lives only inside the paint handler.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC Get() const { return dc_; }
  const RECT& Area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back. It keeps the DC
// it selected into, so the restore cannot go to the wrong context.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {
    if (previous_ == HGDI_ERROR) previous_ = nullptr;
  }
  ~SelectionGuard() { Restore(); }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;
  SelectionGuard(SelectionGuard&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)),
        previous_(std::exchange(other.previous_, nullptr)) {}
  SelectionGuard& operator=(SelectionGuard&& other) noexcept {
    if (this != &other) {
      Restore();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }

 private:
  void Restore() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
  }
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace luma::win32
