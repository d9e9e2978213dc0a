// PLACEHOLDER until the shared helpers land.
#include "lib/HvLib.h"
namespace luma {
std::int32_t BusyCount = 0;
bool IsModifierKey(int) { return false; }
bool IsStateKey(int) { return false; }
bool IsCharKey(int) { return false; }
bool IsRemappableKey(int) { return false; }
bool IsExtendedKey(int) { return false; }
int SeparatorPos(std::string_view, std::string_view) { return 0; }
std::string TextBefore(std::string_view s, std::string_view) { return std::string(s); }
std::string TextAfter(std::string_view s, std::string_view) { return std::string(s); }
void BeginBusyCursor(CursorSink&, bool) {}
void EndBusyCursor(CursorSink&, bool) {}
KeyEvent MakeKeyEvent(std::uint16_t vk, std::uint16_t scan, bool, bool) { return {vk, scan, 0, 0, 0}; }
void SendKeyInput(KeySender&, std::uint16_t, bool, bool) {}
void SyncKeyState(KeySender&, KeyStateArray&) {}
void ReleaseIfDown(KeySender&, int, KeyStateArray&) {}
}  // namespace luma
