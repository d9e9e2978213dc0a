// PLACEHOLDER until the caption tables land.
#include "keyboard/Captions.h"
namespace luma {
std::vector<std::unique_ptr<CaptionTable>> CaptionTables;
std::u16string KeyCharText(KeyboardLayouts&, int, const KeyStateArray&, Hkl) { return {}; }
char16_t KeyChar(KeyboardLayouts&, int, const KeyStateArray&, Hkl) { return u' '; }
std::size_t FindOrBuildCaptionTable(KeyboardLayouts&, Hkl) { return 0; }
}  // namespace luma
