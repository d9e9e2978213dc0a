// UTF-8 (the word tables, the learned-words file) to and from UTF-16 (the
// words as the program holds them).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace luma {

// None for bytes that are not well-formed UTF-8 (overlong forms, surrogates,
// cut sequences included).
std::optional<std::u16string> Utf16FromUtf8(std::string_view bytes);
// The same, appended to `text`; false (and `text` as it was) for bad bytes.
bool AppendUtf16FromUtf8(std::string_view bytes, std::u16string& text);
// A lone surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace luma
