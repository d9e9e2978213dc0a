// Letters and their case in UTF-16, without the system's locale: enough for
// the Latin, Greek and Cyrillic alphabets the word tables are written in.
// Characters outside the BMP are never letters here.
#pragma once

#include <string>
#include <string_view>

namespace luma::letters {

// A letter of any script, or a combining mark (part of the letter before it).
bool IsLetter(char16_t c);
// Letters and the digits 0-9.
bool IsLetterOrDigit(char16_t c);

// The capital of a small letter, the small letter of a capital; any other
// character as it is. The German ß has no capital here: Caps Lock leaves it
// as it is too.
char16_t CapitalOf(char16_t c);
char16_t SmallOf(char16_t c);
bool IsCapital(char16_t c);

std::u16string WithCapitalFirst(std::u16string_view word);
std::u16string AllCapitals(std::u16string_view word);

}  // namespace luma::letters
