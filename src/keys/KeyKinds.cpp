#include "keys/KeyKinds.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>

#include "keys/VirtualKeys.h"

namespace luma {

namespace {

constexpr bool InRange(int vk, int low, int high) { return vk >= low && vk <= high; }

constexpr bool IsWinKey(int vk) { return vk == kVkLeftWin || vk == kVkRightWin; }
constexpr bool IsSidedModifier(int vk) { return InRange(vk, kVkLeftShift, kVkRightAlt); }
constexpr bool IsPunctuation(int vk) {
  return InRange(vk, kVkOem1, kVkOem3) || InRange(vk, kVkOem4, kVkOem102);
}

// By virtual-key code, at the US English positions.
constexpr std::array<std::uint8_t, 256> kPcScanCodes = [] {
  std::array<std::uint8_t, 256> codes{};
  const auto set = [&codes](int vk, int scan) {
    codes[static_cast<std::size_t>(vk)] = static_cast<std::uint8_t>(scan);
  };
  const auto run = [&set](int firstVk, std::initializer_list<int> scans) {
    int vk = firstVk;
    for (const int scan : scans) set(vk++, scan);
  };
  run(8, {0x0E, 0x0F});                                       // Backspace, Tab
  set(12, 0x4C);                                              // Clear: the pad's 5
  set(13, 0x1C);                                              // Enter
  run(16, {0x2A, 0x1D, 0x38, 0x45, 0x3A});                    // Shift, Ctrl, Alt, Pause, Caps Lock
  set(27, 0x01);                                              // Escape
  set(32, 0x39);                                              // Space
  run(33, {0x49, 0x51, 0x4F, 0x47, 0x4B, 0x48, 0x4D, 0x50});  // Page Up .. Down
  run(44, {0x37, 0x52, 0x53});                                // Print Screen, Insert, Delete
  run(48, {0x0B, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A});
  run(65, {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
           0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C});
  run(91, {0x5B, 0x5C, 0x5D});  // Windows keys, Applications
  set(95, 0x5F);                // Sleep
  // The pad's digits and decimal point share their codes with the
  // navigation keys they stand for with Num Lock off.
  run(96, {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49, 0x37, 0x4E});
  run(109, {0x4A, 0x53, 0x35});
  run(112, {0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43, 0x44, 0x57, 0x58});
  run(144, {0x45, 0x46});  // Num Lock, Scroll Lock
  run(160, {0x2A, 0x36, 0x1D, 0x1D, 0x38, 0x38});
  run(186, {0x27, 0x0D, 0x33, 0x0C, 0x34, 0x35, 0x29});
  run(219, {0x1A, 0x2B, 0x1B, 0x28});
  set(226, 0x56);
  return codes;
}();

}  // namespace

bool IsModifierKey(int vk) { return IsWinKey(vk) || IsSidedModifier(vk); }

bool IsLockKey(int vk) { return std::ranges::find(kLockKeys, vk) != kLockKeys.end(); }

bool IsStateKey(int vk) { return IsLockKey(vk) || IsModifierKey(vk); }

bool IsCharKey(int vk) {
  return vk == kVkSpace || InRange(vk, kVk0, kVkZ) || InRange(vk, kVkNumpad0, kVkDivide) ||
         IsPunctuation(vk);
}

bool IsRemappableKey(int vk) { return InRange(vk, kVk0, kVkZ) || IsPunctuation(vk); }

bool IsExtendedKey(int vk) {
  // Navigation block, Win/Apps/Sleep, numeric-pad Divide, Num Lock, the right
  // Shift/Ctrl/Alt and the browser/media/launch keys: the keys whose scan code
  // carries the E0 prefix on a real keyboard.
  return InRange(vk, kVkPageUp, kVkDelete) || IsWinKey(vk) || vk == kVkApps || vk == kVkSleep ||
         vk == kVkDivide || vk == kVkNumLock || vk == kVkRightShift || vk == kVkRightCtrl ||
         vk == kVkRightAlt || InRange(vk, kVkBrowserBack, kVkLaunchApp2);
}

int NumLockOffCode(int vk) {
  // Numpad 0..9, then the decimal point.
  constexpr int kByDigit[] = {45, 35, 40, 34, 37, 12, 39, 36, 38, 33};
  if (InRange(vk, kVkNumpad0, kVkNumpad0 + 9)) return kByDigit[vk - kVkNumpad0];
  if (vk == kVkDecimal) return kVkDelete;
  return 0;
}

int PcScanCode(int vk) {
  return InRange(vk, 0, 255) ? kPcScanCodes[static_cast<std::size_t>(vk)] : 0;
}

}  // namespace luma
