// PLACEHOLDER until the layout loader lands.
#include "keyboard/HvKeyboard.h"
namespace luma {
const std::string_view kStandardLayoutText = "Height=181\r\nWidth=441";
bool THvKeyboard::LoadLayout(const std::string& name) { return LoadLayoutText(name, kStandardLayoutText); }
bool THvKeyboard::LoadLayoutText(const std::string&, std::string_view) { return false; }
}  // namespace luma
