// The key-name table: one label per virtual-key code.
#pragma once

#include <array>
#include <string>

namespace luma {

// Indexed 0..255; entry 0 is unused and empty.
extern const std::array<std::u16string, 256> kKeyNames;

}  // namespace luma
