// The word being typed, followed from what the keyboard itself types: the
// application's text is never read, so every key whose effect on the text
// cannot be followed (the caret moved, a shortcut, another window) makes it
// forget all it knew.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "prediction/Completion.h"

namespace luma {

// What one key does to the word in progress.
struct WordEvent {
  enum class Kind {
    None,       // nothing yet: a modifier, a lock key, a dead key waiting for its letter
    Typed,      // typed `character`
    Backspace,  // took the character before the caret off
    Reset,      // did something to the text that cannot be followed
  };
  Kind kind = Kind::None;
  char16_t character = 0;
  friend bool operator==(const WordEvent&, const WordEvent&) = default;
};

struct HeldModifiers {
  bool ctrl = false;
  bool alt = false;
  bool win = false;
};

// The event for a key press. `typed` is the character the key types in the
// foreground's layout with the state it is sent in (dead keys already
// composed, AltGr included), 0 when it types none. Ctrl with Alt and a
// character is AltGr; any other Ctrl, Alt or Windows combination is a
// shortcut. Space, Enter and Tab type ' ', '\r' and '\t'.
WordEvent WordEventForKey(int vk, HeldModifiers held, char16_t typed);

// A whole word that typing a boundary just ended, for learning, with the
// word before it (empty when unknown). Words with digits are not reported:
// numbers are not words to learn.
struct EndedWord {
  std::u16string word;
  std::u16string previous;
  friend bool operator==(const EndedWord&, const EndedWord&) = default;
};

struct TypedResult {
  // Send a Backspace before the character: it erases the space a chosen
  // word left, so that "word," follows it directly.
  bool eraseSpaceFirst = false;
  std::optional<EndedWord> ended;
};

class WordInProgress {
 public:
  // What the keyboard typed since it last lost track is kept, so that
  // Backspace over a space brings the word before it back. Only when
  // Backspace goes past all of it is nothing known any more.
  TypedResult Typed(char16_t character);
  void Backspace();
  // Nothing is known any more: the next word starts a sentence, no word
  // comes before it.
  void Reset();
  TypedResult Apply(const WordEvent& event);

  // A chosen suggestion, as offered (with its case): what to send for it.
  // The word ends with it, and a space-ending mark typed next takes the
  // space back.
  Completion Choose(std::u16string_view offered);

  // The letters since the last word boundary, as typed.
  std::u16string Word() const;
  // The whole word before the current one; empty when unknown.
  std::u16string PreviousWord() const;
  // Nothing known before the word, or after ". ", "! ", "? " or Enter.
  bool AtSentenceStart() const;
  bool FirstLetterCapital() const;
  // A table word in the case to offer it in, after what was typed.
  std::u16string Offered(std::u16string_view tableWord, bool capsLock) const;

 private:
  std::size_t WordBegin(std::size_t end) const;
  std::size_t GapBegin(std::size_t wordBegin) const;
  std::u16string WordBefore(std::size_t wordBegin) const;
  bool SentenceStartsAt(std::size_t wordBegin) const;
  void KeepBounded();

  std::u16string text_;
  // What stood before the front of text_ once older text was let go.
  bool frontStartsSentence_ = true;
  std::u16string wordBeforeFront_;
  bool chosenSpacePending_ = false;
};

}  // namespace luma
