#include "keys/KeyKinds.h"

#include "keys/VirtualKeys.h"

namespace luma {

namespace {

constexpr bool InRange(int vk, int low, int high) { return vk >= low && vk <= high; }

constexpr bool IsWinKey(int vk) { return vk == kVkLeftWin || vk == kVkRightWin; }
constexpr bool IsSidedModifier(int vk) { return InRange(vk, kVkLeftShift, kVkRightAlt); }
constexpr bool IsPunctuation(int vk) {
  return InRange(vk, kVkOem1, kVkOem3) || InRange(vk, kVkOem4, kVkOem102);
}

}  // namespace

bool IsModifierKey(int vk) { return IsWinKey(vk) || IsSidedModifier(vk); }

bool IsStateKey(int vk) {
  return vk == kVkCapsLock || vk == kVkNumLock || vk == kVkScrollLock || IsModifierKey(vk);
}

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

}  // namespace luma
