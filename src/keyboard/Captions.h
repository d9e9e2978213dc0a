// Per-layout caption tables and the key translation that fills them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

struct CaptionTable {
  Hkl hkl = 0;
  // [vk][shift][alt][ctrl][caps]; entries of codes that are not character keys stay 0.
  char16_t Chars[256][2][2][2][2] = {};
};

// The caption tables of the layouts met so far, one per layout, built on
// first use and kept while the cache lives: switching back to a layout costs
// no translation. A table's address never changes.
class CaptionCache {
 public:
  CaptionCache() = default;
  CaptionCache(const CaptionCache&) = delete;
  CaptionCache& operator=(const CaptionCache&) = delete;

  const CaptionTable& TableFor(KeyboardLayouts& layouts, Hkl hkl);
  std::size_t Size() const { return tables_.size(); }

 private:
  std::vector<std::unique_ptr<CaptionTable>> tables_;
};

// The character the layout produces for vk in state: empty for nothing, a
// control character or a dead key.
std::u16string KeyCharText(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl);
// KeyCharText twice, so that no dead key stays pending; space for nothing.
char16_t KeyChar(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl);

}  // namespace luma
