// The layout loader's text splitting: a line of the description at the
// first separator found.
#pragma once

#include <string>
#include <string_view>

namespace luma {

// 1-based position of the first separator found, trying the characters of
// seps in turn; 0 if none occurs.
int SeparatorPos(std::string_view s, std::string_view seps);
std::string TextBefore(std::string_view s, std::string_view seps);
std::string TextAfter(std::string_view s, std::string_view seps);

}  // namespace luma
