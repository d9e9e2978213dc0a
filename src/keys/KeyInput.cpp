#include "keys/KeyInput.h"

#include "keys/KeyKinds.h"
#include "keys/VirtualKeys.h"

namespace luma {

KeyEvent MakeKeyEvent(std::uint16_t vk, std::uint16_t scan, bool keyUp, bool extended) {
  KeyEvent event;
  event.vk = vk;
  event.scan = scan;
  event.flags = (keyUp ? kKeyEventKeyUp : 0u) | (extended ? kKeyEventExtendedKey : 0u);
  event.time = 0;  // the system stamps the event
  event.extraInfo = kOwnKeyEventMark;
  return event;
}

void SendKeyInput(KeySender& sender, std::uint16_t vk, bool keyUp, bool extended) {
  // Some systems map no scan code for a key (the pad's digits under Wine);
  // a program that reads scan codes would then see a key that does not exist.
  std::uint16_t scan = sender.ScanCode(vk);
  if (scan == 0) scan = static_cast<std::uint16_t>(PcScanCode(vk));
  sender.Send(MakeKeyEvent(vk, scan, keyUp, extended));
}

void SendText(KeySender& sender, std::u16string_view text) {
  for (const char16_t unit : text) {
    // The virtual-key code must be 0: the system then hands the unit to the
    // window as a VK_PACKET key whose character is the unit.
    KeyEvent down;
    down.scan = static_cast<std::uint16_t>(unit);
    down.flags = kKeyEventUnicode;
    KeyEvent up = down;
    up.flags |= kKeyEventKeyUp;
    sender.Send(down);
    sender.Send(up);
  }
}

void SendBackspaces(KeySender& sender, int count) {
  for (int i = 0; i < count; ++i) {
    SendKeyInput(sender, kVkBackspace, false, false);
    SendKeyInput(sender, kVkBackspace, true, false);
  }
}

void SyncKeyState(KeySender& sender, KeyStateArray& state) {
  sender.GetKeyboardState(state);
  for (const int button :
       {kVkLeftButton, kVkRightButton, kVkMiddleButton, kVkXButton1, kVkXButton2})
    state[static_cast<std::size_t>(button)] = 0;
  // The generic entries are rebuilt from the sided ones as keys go down, so
  // they start at 0; the sided ones are released in the system if held.
  state[kVkShift] = 0;
  ReleaseIfDown(sender, kVkLeftShift, state);
  ReleaseIfDown(sender, kVkRightShift, state);
  state[kVkCtrl] = 0;
  ReleaseIfDown(sender, kVkLeftCtrl, state);
  ReleaseIfDown(sender, kVkRightCtrl, state);
  state[kVkAlt] = 0;
  ReleaseIfDown(sender, kVkLeftAlt, state);
  ReleaseIfDown(sender, kVkRightAlt, state);
  ReleaseIfDown(sender, kVkLeftWin, state);
  ReleaseIfDown(sender, kVkRightWin, state);
}

void ReleaseIfDown(KeySender& sender, int vk, KeyStateArray& state) {
  if (vk < 0 || vk > 255) return;
  auto& entry = state[static_cast<std::size_t>(vk)];
  if (entry == 0) return;
  if (entry >= 0x80) SendKeyInput(sender, static_cast<std::uint16_t>(vk), true, IsExtendedKey(vk));
  entry = 0;
}

}  // namespace luma
