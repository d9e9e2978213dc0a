#include "prediction/Completion.h"

#include <algorithm>

#include "prediction/LetterCase.h"

namespace luma {

namespace {

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// One Backspace erases one character, a surrogate pair included.
int CharacterCount(std::u16string_view text) {
  return static_cast<int>(
      std::ranges::count_if(text, [](char16_t c) { return !IsLowSurrogate(c); }));
}

bool TypedAllCapitals(std::u16string_view typed) {
  int capitals = 0;
  for (const char16_t c : typed) {
    if (letters::IsCapital(c)) {
      ++capitals;
    } else if (letters::CapitalOf(c) != c) {
      return false;  // a small letter
    }
  }
  return capitals >= 2;
}

}  // namespace

Completion CompletionFor(std::u16string_view typed, std::u16string_view word) {
  if (word.empty()) return {};
  if (word.starts_with(typed)) {
    std::u16string rest(word.substr(typed.size()));
    rest += u' ';
    return {0, std::move(rest)};
  }
  std::u16string whole(word);
  whole += u' ';
  return {CharacterCount(typed), std::move(whole)};
}

std::u16string FollowCase(std::u16string_view tableWord, std::u16string_view typed,
                          bool sentenceStart, bool capsLock) {
  if (capsLock || TypedAllCapitals(typed)) return letters::AllCapitals(tableWord);
  const bool capitalFirst = !typed.empty() && letters::IsCapital(typed.front());
  if (sentenceStart || capitalFirst) return letters::WithCapitalFirst(tableWord);
  return std::u16string(tableWord);
}

}  // namespace luma
