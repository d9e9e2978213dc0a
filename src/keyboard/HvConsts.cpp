// PLACEHOLDER until the key-name table lands.
#include "keyboard/HvConsts.h"
namespace luma {
const std::array<std::u16string, 256> VKNames{};
}  // namespace luma
