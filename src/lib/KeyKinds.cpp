#include "lib/KeyKinds.h"

namespace luma {

namespace {

constexpr bool InRange(int vk, int low, int high) { return vk >= low && vk <= high; }

}  // namespace

bool IsModifierKey(int vk) { return vk == 91 || vk == 92 || InRange(vk, 160, 165); }

bool IsStateKey(int vk) {
  return vk == 20 || vk == 91 || vk == 92 || vk == 144 || vk == 145 || InRange(vk, 160, 165);
}

bool IsCharKey(int vk) {
  return vk == 32 || InRange(vk, 48, 90) || InRange(vk, 96, 111) || InRange(vk, 186, 192) ||
         InRange(vk, 219, 226);
}

bool IsRemappableKey(int vk) {
  return InRange(vk, 48, 90) || InRange(vk, 186, 192) || InRange(vk, 219, 226);
}

bool IsExtendedKey(int vk) {
  // Navigation block, Win/Apps/Sleep, numeric-pad Divide, Num Lock, the right
  // Shift/Ctrl/Alt and the browser/media/launch keys: the keys whose scan code
  // carries the E0 prefix on a real keyboard.
  return InRange(vk, 33, 46) || vk == 91 || vk == 92 || vk == 93 || vk == 95 || vk == 111 ||
         vk == 144 || vk == 161 || vk == 163 || vk == 165 || InRange(vk, 166, 183);
}

}  // namespace luma
