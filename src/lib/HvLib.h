// Shared helpers: key kinds, text splitting, busy cursor, keyboard-state
// synchronisation and the one key-event primitive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

// Key kinds by virtual-key code; each is false outside its set.
bool IsModifierKey(int vk);    // latched by the press logic
bool IsStateKey(int vk);       // a down change redraws the whole keyboard
bool IsCharKey(int vk);        // shows a character caption
bool IsRemappableKey(int vk);  // follows the layout's physical placement
bool IsExtendedKey(int vk);    // sent with the extended-key flag

// 1-based position of the first separator found, trying the characters of
// seps in turn; 0 if none occurs.
int SeparatorPos(std::string_view s, std::string_view seps);
std::string TextBefore(std::string_view s, std::string_view seps);
std::string TextAfter(std::string_view s, std::string_view seps);

// Busy cursor: a process-wide counter over the application's screen cursor.
extern std::int32_t BusyCount;
void BeginBusyCursor(CursorSink& cursor, bool reset);
void EndBusyCursor(CursorSink& cursor, bool reset);

// The one primitive that injects a key event: exactly one record per call.
KeyEvent MakeKeyEvent(std::uint16_t vk, std::uint16_t scan, bool keyUp, bool extended);
void SendKeyInput(KeySender& sender, std::uint16_t vk, bool keyUp, bool extended);

// Clears Shift, Ctrl, Alt, Win and mouse-button entries of state after
// reading the system's keyboard state into it, releasing held modifiers.
void SyncKeyState(KeySender& sender, KeyStateArray& state);
void ReleaseIfDown(KeySender& sender, int vk, KeyStateArray& state);

}  // namespace luma
