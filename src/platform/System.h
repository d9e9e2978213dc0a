// The narrow system services the core needs. One Win32 implementation each
// (win32/), fakes in tests/unit/.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Types.h"

namespace luma {

// What every key event the program sends carries as its extra information,
// so that its own keys are told from the user's (a switch key it types must
// not work the switch).
constexpr std::uintptr_t kOwnKeyEventMark = 0x4C756D61;

// One synthetic keyboard event, field for field the KEYBDINPUT of an INPUT.
struct KeyEvent {
  std::uint16_t vk = 0;
  std::uint16_t scan = 0;
  std::uint32_t flags = 0;
  std::uint32_t time = 0;
  std::uintptr_t extraInfo = kOwnKeyEventMark;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

constexpr std::uint32_t kKeyEventExtendedKey = 0x0001;  // KEYEVENTF_EXTENDEDKEY
constexpr std::uint32_t kKeyEventKeyUp = 0x0002;        // KEYEVENTF_KEYUP
constexpr std::uint32_t kKeyEventUnicode = 0x0004;      // KEYEVENTF_UNICODE: scan is a UTF-16 unit

class KeySender {
 public:
  virtual ~KeySender() = default;
  // MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) in the program's own layout.
  virtual std::uint16_t ScanCode(std::uint16_t vk) = 0;
  // SendInput of exactly one INPUT_KEYBOARD record; the result is ignored.
  virtual void Send(const KeyEvent& event) = 0;
  // GetKeyboardState of the calling thread, its lock toggles as the system
  // has them now and every modifier the system holds down marked down.
  virtual void GetKeyboardState(KeyStateArray& state) = 0;
};

// MapVirtualKeyEx's map types: a virtual-key code to its scan code
// (MAPVK_VK_TO_VSC), and a scan code to the virtual-key code that tells left
// and right keys apart (MAPVK_VSC_TO_VK_EX).
inline constexpr unsigned kMapVkToScan = 0;
inline constexpr unsigned kMapScanToVkEx = 3;

class KeyboardLayouts {
 public:
  virtual ~KeyboardLayouts() = default;
  // GetKeyboardLayoutList with room for at most maxCount handles.
  virtual std::vector<Hkl> List(int maxCount) = 0;
  // LoadKeyboardLayoutA(id, 0); 0 on failure.
  virtual Hkl Load(const std::string& layoutId) = 0;
  virtual void Unload(Hkl hkl) = 0;
  // mapType as the system's: kMapVkToScan or kMapScanToVkEx.
  virtual unsigned MapVirtualKeyEx(unsigned code, unsigned mapType, Hkl hkl) = 0;
  virtual int ToUnicodeEx(unsigned vk, unsigned scanCode, const KeyStateArray& state,
                          char16_t* buffer, int bufferSize, unsigned flags, Hkl hkl) = 0;
  // CharUpperBuffW: text in upper case by the system's case tables.
  virtual std::u16string UpperCase(std::u16string text) = 0;
};

// The keyboard layout of the thread that owns the foreground window
// (GetForegroundWindow, GetWindowThreadProcessId, GetKeyboardLayout).
class ForegroundLayout {
 public:
  virtual ~ForegroundLayout() = default;
  virtual Hkl Read() = 0;
};

class SystemColors {
 public:
  virtual ~SystemColors() = default;
  virtual Color GetSysColor(unsigned index) = 0;
  // GetNearestColor on the screen DC.
  virtual Color NearestColor(Color color) = 0;
};

// A window timer: Start counts the interval from now, restarting a running one.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void Start(std::uint32_t intervalMs) = 0;
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
};

// The application-wide screen cursor of the busy-cursor counter.
class CursorSink {
 public:
  virtual ~CursorSink() = default;
  virtual void SetBusy(bool busy) = 0;
};

}  // namespace luma
