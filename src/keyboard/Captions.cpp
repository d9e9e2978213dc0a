// Key translation through the system's layouts, and the per-layout caption
// tables built from it.
#include "keyboard/Captions.h"

#include "keyboard/VirtualKeys.h"
#include "lib/KeyKinds.h"

namespace luma {

std::u16string_view Trimmed(std::u16string_view s) {
  while (!s.empty() && s.front() <= u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() <= u' ') s.remove_suffix(1);
  return s;
}

std::u16string KeyCharText(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl) {
  // Two spaces: the output buffer, so unused units trim away.
  char16_t buffer[2] = {u' ', u' '};
  const auto code = static_cast<unsigned>(vk);
  const int r =
      layouts.ToUnicodeEx(code, layouts.MapVirtualKeyEx(code, 0, hkl), state, buffer, 2, 0, hkl);
  if (r < 1 || r > 255) return {};  // nothing, or a dead key waiting for its partner
  const std::u16string_view text = Trimmed(std::u16string_view(buffer, 2));
  if (text.empty()) return {};  // control characters
  return std::u16string(1, r == 1 ? text.front() : text.back());
}

char16_t KeyChar(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl) {
  // The first call leaves a dead key pending in the translation state; the
  // second combines it with itself and so clears it again.
  KeyCharText(layouts, vk, state, hkl);
  const std::u16string text = KeyCharText(layouts, vk, state, hkl);
  return text.empty() ? u' ' : text.front();
}

char16_t CaptionTable::At(KeyboardLayouts& layouts, int vk, int shift, int alt, int ctrl,
                          int caps) {
  if (vk < 1 || vk > 255) return 0;
  const int s = shift ? 1 : 0, a = alt ? 1 : 0, c = ctrl ? 1 : 0, l = caps ? 1 : 0;
  if (!translated[s][a][c][l]) {
    KeyStateArray state{};
    auto flag = [](int on) -> std::uint8_t { return on ? 0x81 : 0; };
    state[kVkCapsLock] = flag(l);
    state[kVkShift] = state[kVkLeftShift] = flag(s);
    // Alt is the right Alt and Ctrl the left Ctrl: together they are AltGr,
    // under which layouts report their third-level characters.
    state[kVkAlt] = state[kVkRightAlt] = flag(a);
    state[kVkCtrl] = state[kVkLeftCtrl] = flag(c);
    // KeyChar leaves no dead key pending, so the keys can go in any order
    // and a combination filled late reads as one filled with all the others.
    for (int code = 1; code <= 255; ++code)
      if (IsCharKey(code)) Chars[code][s][a][c][l] = KeyChar(layouts, code, state, hkl);
    translated[s][a][c][l] = true;
  }
  return Chars[vk][s][a][c][l];
}

void CaptionTable::Complete(KeyboardLayouts& layouts) {
  for (int caps = 0; caps <= 1; ++caps)
    for (int shift = 0; shift <= 1; ++shift)
      for (int alt = 0; alt <= 1; ++alt)
        for (int ctrl = 0; ctrl <= 1; ++ctrl) At(layouts, kVkSpace, shift, alt, ctrl, caps);
}

CaptionTable& CaptionCache::Find(Hkl hkl) {
  for (const auto& table : tables_)
    if (table->hkl == hkl) return *table;
  auto table = std::make_unique<CaptionTable>();
  table->hkl = hkl;
  tables_.push_back(std::move(table));
  return *tables_.back();
}

const CaptionTable& CaptionCache::TableFor(KeyboardLayouts& layouts, Hkl hkl) {
  CaptionTable& table = Find(hkl);
  table.Complete(layouts);
  return table;
}

}  // namespace luma
