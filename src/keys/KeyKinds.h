// Key kinds by virtual-key code; each is false outside its set.
#pragma once

#include <array>

#include "keys/VirtualKeys.h"

namespace luma {

// A press flips a toggle the system keeps.
inline constexpr std::array<int, 3> kLockKeys{kVkCapsLock, kVkNumLock, kVkScrollLock};

bool IsModifierKey(int vk);    // latched by the press logic
bool IsLockKey(int vk);        // one of kLockKeys
bool IsStateKey(int vk);       // a down change redraws the whole keyboard
bool IsCharKey(int vk);        // shows a character caption
bool IsRemappableKey(int vk);  // follows the layout's physical placement
bool IsExtendedKey(int vk);    // sent with the extended-key flag

// What a numeric-pad key sends with Num Lock off (Home, the arrows, Clear
// for 5, Insert, Delete...); 0 for a code that is no such key.
int NumLockOffCode(int vk);

// The PC (set 1) scan code of the key vk stands for, without the E0 prefix:
// the extended flag tells Insert from the pad's 0, the pad's Enter from the
// main one. 0 for a code that is no key of a PC keyboard.
int PcScanCode(int vk);

}  // namespace luma
