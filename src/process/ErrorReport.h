// What the error box says.
#pragma once

#include <string>
#include <string_view>

namespace luma {

inline constexpr const char* kErrorReportCaption = "Lumatype";

// The message of the error box: a full stop is added when the last character
// comes after "." in character order (a letter, a digit), not after ".",
// "'", a double quote or ")".
std::string ErrorReportText(std::string_view message);

}  // namespace luma
