// The one primitive that injects a key event, text typed as characters, and
// the release of modifiers that the system still reports down.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

// Exactly one record per call.
KeyEvent MakeKeyEvent(std::uint16_t vk, std::uint16_t scan, bool keyUp, bool extended);
void SendKeyInput(KeySender& sender, std::uint16_t vk, bool keyUp, bool extended);

// Types text as characters, not as keys of the layout in front: each UTF-16
// unit goes down and up as a Unicode event (a character outside the basic
// plane as its two surrogates, in order), so accents need no dead keys and
// any character arrives whatever the layout.
void SendText(KeySender& sender, std::u16string_view text);
// Backspace pressed and let go count times; none for zero or less.
void SendBackspaces(KeySender& sender, int count);

// Clears Shift, Ctrl, Alt, Win and mouse-button entries of state after
// reading the system's keyboard state into it, releasing held modifiers.
void SyncKeyState(KeySender& sender, KeyStateArray& state);
void ReleaseIfDown(KeySender& sender, int vk, KeyStateArray& state);

}  // namespace luma
