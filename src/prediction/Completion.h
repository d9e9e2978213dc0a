// What choosing a suggestion types, and the case a suggestion is offered in.
#pragma once

#include <string>
#include <string_view>

namespace luma {

// Sent as Backspace presses, then `text` as Unicode characters (never as
// the layout's keys, so that accents need no dead keys). The text ends with
// the space that closes the word.
struct Completion {
  int backspaces = 0;
  std::u16string text;
  friend bool operator==(const Completion&, const Completion&) = default;
};

// The rest of the word when what was typed begins it exactly; otherwise the
// typed letters (which differ in case or accents) are erased and the whole
// word typed. Nothing for an empty word.
Completion CompletionFor(std::u16string_view typed, std::u16string_view word);

// The table's word in the case the user is typing: all capitals with Caps
// Lock or when two or more letters were typed, all as capitals; a capital
// first letter at a sentence start or when the first letter was typed as
// one. Capitals the table holds (nouns, names, "I") stay.
std::u16string FollowCase(std::u16string_view tableWord, std::u16string_view typed,
                          bool sentenceStart, bool capsLock);

}  // namespace luma
