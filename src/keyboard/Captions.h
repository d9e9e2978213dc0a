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

// Process-wide and growing: one record per layout met, never shrunk while
// the program runs.
extern std::vector<std::unique_ptr<CaptionTable>> CaptionTables;

// The character the layout produces for vk in state: empty for nothing, a
// control character or a dead key.
std::u16string KeyCharText(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl);
// KeyCharText twice, so that no dead key stays pending; space for nothing.
char16_t KeyChar(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl);

// Index of the table for hkl in CaptionTables, building it when missing.
std::size_t FindOrBuildCaptionTable(KeyboardLayouts& layouts, Hkl hkl);

}  // namespace luma
