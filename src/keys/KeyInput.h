// The one primitive that injects a key event, and the release of modifiers
// that the system still reports down.
#pragma once

#include <cstdint>

#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

// Exactly one record per call.
KeyEvent MakeKeyEvent(std::uint16_t vk, std::uint16_t scan, bool keyUp, bool extended);
void SendKeyInput(KeySender& sender, std::uint16_t vk, bool keyUp, bool extended);

// Clears Shift, Ctrl, Alt, Win and mouse-button entries of state after
// reading the system's keyboard state into it, releasing held modifiers.
void SyncKeyState(KeySender& sender, KeyStateArray& state);
void ReleaseIfDown(KeySender& sender, int vk, KeyStateArray& state);

}  // namespace luma
