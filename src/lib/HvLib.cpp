#include "lib/HvLib.h"

namespace luma {

std::int32_t BusyCount = 0;

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

int SeparatorPos(std::string_view s, std::string_view seps) {
  for (const char sep : seps) {
    const auto pos = s.find(sep);
    if (pos != std::string_view::npos) return static_cast<int>(pos) + 1;
  }
  return 0;
}

std::string TextBefore(std::string_view s, std::string_view seps) {
  if (s.empty()) return {};
  const int pos = SeparatorPos(s, seps);
  if (pos == 0) return std::string(s);
  return std::string(s.substr(0, static_cast<std::size_t>(pos) - 1));
}

std::string TextAfter(std::string_view s, std::string_view seps) {
  if (s.empty()) return {};
  const int pos = SeparatorPos(s, seps);
  if (pos == 0) return std::string(s);
  return std::string(s.substr(static_cast<std::size_t>(pos)));
}

void BeginBusyCursor(CursorSink& cursor, bool reset) {
  if (reset)
    BusyCount = 1;
  else
    ++BusyCount;
  cursor.SetBusy(true);
}

void EndBusyCursor(CursorSink& cursor, bool reset) {
  if (reset) {
    BusyCount = 0;
  } else {
    --BusyCount;
    if (BusyCount < 0) BusyCount = 0;
  }
  if (BusyCount == 0) cursor.SetBusy(false);
}

KeyEvent MakeKeyEvent(std::uint16_t vk, std::uint16_t scan, bool keyUp, bool extended) {
  KeyEvent event;
  event.vk = vk;
  event.scan = scan;
  event.flags = (keyUp ? kKeyEventKeyUp : 0u) | (extended ? kKeyEventExtendedKey : 0u);
  event.time = 0;  // the system stamps the event
  event.extraInfo = 0;
  return event;
}

void SendKeyInput(KeySender& sender, std::uint16_t vk, bool keyUp, bool extended) {
  sender.Send(MakeKeyEvent(vk, sender.ScanCode(vk), keyUp, extended));
}

void SyncKeyState(KeySender& sender, KeyStateArray& state) {
  sender.GetKeyboardState(state);
  for (const int button : {1, 2, 4, 5, 6}) state[static_cast<std::size_t>(button)] = 0;
  // The generic entries are rebuilt from the sided ones as keys go down, so
  // they start at 0; the sided ones are released in the system if held.
  state[16] = 0;
  ReleaseIfDown(sender, 160, state);
  ReleaseIfDown(sender, 161, state);
  state[17] = 0;
  ReleaseIfDown(sender, 162, state);
  ReleaseIfDown(sender, 163, state);
  state[18] = 0;
  ReleaseIfDown(sender, 164, state);
  ReleaseIfDown(sender, 165, state);
  ReleaseIfDown(sender, 91, state);
  ReleaseIfDown(sender, 92, state);
}

void ReleaseIfDown(KeySender& sender, int vk, KeyStateArray& state) {
  if (vk < 0 || vk > 255) return;
  auto& entry = state[static_cast<std::size_t>(vk)];
  if (entry == 0) return;
  if (entry >= 0x80) SendKeyInput(sender, static_cast<std::uint16_t>(vk), true, IsExtendedKey(vk));
  entry = 0;
}

}  // namespace luma
