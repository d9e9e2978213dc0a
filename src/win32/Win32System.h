// The Win32 implementations of the system services the core needs.
#pragma once

#include <windows.h>

#include "platform/System.h"
#include "theme/Theme.h"

namespace luma::win32 {

// The core keeps the handle's bits unchanged; only the type differs.
inline HKL ToHkl(luma::Hkl hkl) { return reinterpret_cast<HKL>(hkl); }
inline luma::Hkl FromHkl(HKL hkl) { return reinterpret_cast<luma::Hkl>(hkl); }

// The record layout SendInput expects; the shipped program is the 32-bit build.
static_assert(sizeof(INPUT) == (sizeof(void*) == 8 ? 40 : 28));

class Win32KeySender : public luma::KeySender {
 public:
  std::uint16_t ScanCode(std::uint16_t vk) override;
  void Send(const luma::KeyEvent& event) override;
  void GetKeyboardState(luma::KeyStateArray& state) override;
};

class Win32KeyboardLayouts : public luma::KeyboardLayouts {
 public:
  std::vector<luma::Hkl> List(int maxCount) override;
  luma::Hkl Load(const std::string& layoutId) override;
  void Unload(luma::Hkl hkl) override;
  unsigned MapVirtualKeyEx(unsigned code, unsigned mapType, luma::Hkl hkl) override;
  int ToUnicodeEx(unsigned vk, unsigned scanCode, const luma::KeyStateArray& state,
                  char16_t* buffer, int bufferSize, unsigned flags, luma::Hkl hkl) override;
  std::u16string UpperCase(std::u16string text) override;
};

class Win32ForegroundLayout : public luma::ForegroundLayout {
 public:
  luma::Hkl Read() override;

 private:
  // A window's thread never changes: only a new foreground window is asked
  // for its thread, which under Wine is a round trip to the server.
  HWND window_ = nullptr;
  DWORD thread_ = 0;
};

class Win32SystemColors : public luma::SystemColors {
 public:
  luma::Color GetSysColor(unsigned index) override;
  luma::Color NearestColor(luma::Color color) override;
};

class Win32Cursor : public luma::CursorSink {
 public:
  void SetBusy(bool busy) override;
};

// A window timer; the window's WM_TIMER handler dispatches on the id.
class WindowTimer : public luma::Timer {
 public:
  WindowTimer(HWND window, UINT_PTR id) : window_(window), id_(id) {}
  ~WindowTimer() override { Stop(); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  void Start(std::uint32_t intervalMs) override;
  void Stop() override;
  bool Running() const override { return running_; }
  UINT_PTR Id() const { return id_; }

 private:
  HWND window_;
  UINT_PTR id_;
  bool running_ = false;
};

// What the optional visual-style library and the system version report.
luma::VisualStyleInfo QueryVisualStyle();
unsigned WindowsMajorVersion();

}  // namespace luma::win32
