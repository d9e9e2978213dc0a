// The text rules of the settings file: how a value becomes a number, and the
// CR LF form the file is kept in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace luma {

// Leading blanks, an optional "+" or "-", then decimal digits, or hex digits
// after "0x", "0X", "$", "x" or "X". Anything else, or a number outside the
// 32-bit range, is no number. Hex digits above 0x7FFFFFFF are out of range
// whatever the sign.
std::optional<std::int32_t> ParseIniInteger(std::string_view text);

// Text the profile functions read one byte per character: no NUL byte and no
// UTF-16 byte-order mark. Such a file must not be rewritten line by line.
bool IsSingleByteText(std::string_view bytes);

// Every line, the last one included, ends in CR LF.
bool HasCrLfLineEnds(std::string_view bytes);

// The lines split at CR LF, CR or LF, each written back with CR LF. A file
// ending in a line end gets no extra empty line.
std::string WithCrLfLineEnds(std::string_view bytes);

}  // namespace luma
