// Per-layout caption tables and the key translation that fills them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

// The modifiers a caption is read under. Alt is the right Alt and Ctrl the
// left Ctrl: together they are AltGr, under which layouts report their
// third-level characters.
struct Modifiers {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
  bool capsLock = false;
};

// One layout's captions. A modifier combination is translated for every
// character key at once, the first time one of its entries is read: a paint
// needs one or two of the sixteen, and each translation is a system call.
struct CaptionTable {
  Hkl hkl = 0;
  // [vk][shift][alt][ctrl][caps]; entries of codes that are not character keys stay 0.
  char16_t Chars[256][2][2][2][2] = {};
  // [shift][alt][ctrl][caps]: the combinations translated so far.
  bool translated[2][2][2][2] = {};

  // The entry of vk under the modifiers, translating their combination first
  // if it has not been yet; 0 for a code out of range.
  char16_t At(KeyboardLayouts& layouts, int vk, Modifiers modifiers);
};

// The caption tables of the layouts met so far, one per layout, kept while
// the cache lives: each combination of a layout is translated once however
// often it is read, and switching back to a layout costs no translation.
// A table's address never changes.
class CaptionCache {
 public:
  CaptionCache() = default;
  CaptionCache(const CaptionCache&) = delete;
  CaptionCache& operator=(const CaptionCache&) = delete;

  // The layout's table, translated as far as it has been read so far.
  CaptionTable& Find(Hkl hkl);
  std::size_t Size() const { return tables_.size(); }

 private:
  std::vector<std::unique_ptr<CaptionTable>> tables_;
};

// s without the spaces and control characters at either end.
std::u16string_view Trimmed(std::u16string_view s);
// One call of ToUnicodeEx: the character the layout produces for vk in
// state, empty for nothing, a control character or a dead key; and the
// call's result, negative when it left a dead key pending.
struct KeyTranslation {
  std::u16string text;
  int result = 0;
};
KeyTranslation TranslateKey(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl);

}  // namespace luma
