// Key translation through the system's layouts, and the per-layout caption
// tables built from it.
#include "keyboard/Captions.h"

#include "keys/KeyKinds.h"
#include "keys/VirtualKeys.h"

namespace luma {

std::u16string_view Trimmed(std::u16string_view s) {
  while (!s.empty() && s.front() <= u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() <= u' ') s.remove_suffix(1);
  return s;
}

KeyTranslation TranslateKey(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl) {
  // Two spaces: the output buffer, so unused units trim away.
  char16_t buffer[2] = {u' ', u' '};
  const auto code = static_cast<unsigned>(vk);
  const int r = layouts.ToUnicodeEx(code, layouts.MapVirtualKeyEx(code, kMapVkToScan, hkl), state,
                                    buffer, 2, 0, hkl);
  if (r < 1 || r > 255) return {{}, r};  // nothing, or a dead key waiting for its partner
  const std::u16string_view text = Trimmed(std::u16string_view(buffer, 2));
  if (text.empty()) return {{}, r};  // control characters
  return {std::u16string(1, r == 1 ? text.front() : text.back()), r};
}

namespace {

char16_t FirstOrSpace(const std::u16string& text) { return text.empty() ? u' ' : text.front(); }

}  // namespace

char16_t CaptionTable::At(KeyboardLayouts& layouts, int vk, Modifiers modifiers) {
  if (vk < 1 || vk > 255) return 0;
  const int s = modifiers.shift ? 1 : 0, a = modifiers.alt ? 1 : 0, c = modifiers.ctrl ? 1 : 0,
            l = modifiers.capsLock ? 1 : 0;
  if (!translated[s][a][c][l]) {
    KeyStateArray state{};
    auto flag = [](bool held) -> std::uint8_t { return held ? 0x81 : 0; };
    state[kVkCapsLock] = flag(modifiers.capsLock);
    // Numeric-pad keys show a character only with Num Lock on.
    state[kVkNumLock] = 1;
    state[kVkShift] = state[kVkLeftShift] = flag(modifiers.shift);
    state[kVkAlt] = state[kVkRightAlt] = flag(modifiers.alt);
    state[kVkCtrl] = state[kVkLeftCtrl] = flag(modifiers.ctrl);
    // Each key reads as two translations in a row read it (the second clears
    // a dead key the first left pending), and no dead key stays pending, so a
    // combination filled late reads as one filled with all the others.
    // The second translation only clears a pending dead key, and each call
    // costs a trip into the system: it is made where a dead key may be
    // pending: at the first key (left by whatever ran before), after a dead
    // key, and after keys that type nothing or only a control character,
    // which may leave a pending one as it is. A key that types a character
    // has used up any pending dead key.
    bool deadKeyMayBePending = true;
    for (int code = 1; code <= 255; ++code) {
      if (!IsCharKey(code)) continue;
      KeyTranslation t = TranslateKey(layouts, code, state, hkl);
      if (deadKeyMayBePending || t.result < 0) t = TranslateKey(layouts, code, state, hkl);
      deadKeyMayBePending = t.result < 0 || (t.text.empty() && deadKeyMayBePending);
      Chars[code][s][a][c][l] = FirstOrSpace(t.text);
    }
    translated[s][a][c][l] = true;
  }
  return Chars[vk][s][a][c][l];
}

CaptionTable& CaptionCache::Find(Hkl hkl) {
  for (const auto& table : tables_)
    if (table->hkl == hkl) return *table;
  auto table = std::make_unique<CaptionTable>();
  table->hkl = hkl;
  tables_.push_back(std::move(table));
  return *tables_.back();
}

}  // namespace luma
