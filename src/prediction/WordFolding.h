// How typed letters are compared with the words of a language: without regard
// to case and accents, so that "ecole" finds "école" and "strasse" "Straße".
#pragma once

#include <string>
#include <string_view>

namespace luma {

// Lower case, accents stripped, ß/æ/œ spelled out, ё as е, ’ as '.
std::u16string FoldWord(std::u16string_view word);
void AppendFoldedWord(std::u16string_view word, std::u16string& folded);
// Lower case only: the accents stay (Zeit → zeit, Été → été).
std::u16string LowerWord(std::u16string_view word);
// The letters of the scripts the word tables use (Latin, Greek, Cyrillic).
bool IsWordLetter(char16_t c);

}  // namespace luma
