// What the row of words offers and what choosing one types: follows the keys
// the keyboard types (dead keys composed in the layout in front), asks the
// word source for words that begin with the word in progress, offers them in
// the user's case, and types a chosen one as text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/InputDispatch.h"
#include "keyboard/Keyboard.h"
#include "platform/System.h"
#include "prediction/PredictionGate.h"
#include "prediction/WordInProgress.h"
#include "wordrow/WordRow.h"

namespace luma {

// The words suggested and learned, in the language of the layout in front.
class WordSource {
 public:
  virtual ~WordSource() = default;
  // The primary language of a keyboard layout (the low ten bits of its
  // language id); false when it has no word table.
  virtual bool SetLanguage(std::uint16_t primaryLanguage) = 0;
  // Up to count words beginning with prefix, compared without regard to case
  // and accents, the likeliest first, none equal to prefix; with an empty
  // prefix, the words most often typed after previous. A word of shown that
  // still matches keeps its place.
  virtual std::vector<std::u16string> Suggest(std::u16string_view prefix,
                                              std::u16string_view previous, int count,
                                              const std::vector<std::u16string>& shown) = 0;
  // A word typed whole or chosen, after the word before it (empty: unknown).
  virtual void Learn(std::u16string_view word, std::u16string_view previous) = 0;
};

struct WordSuggestionParts {
  Keyboard& keyboard;
  KeyboardLayouts& layouts;
  KeySender& sender;  // the chosen words' text goes the keys' way
  InputDispatch& input;
  WordRow& row;
  WordSource& words;
};

class WordSuggestions final : public TypingListener {
 public:
  explicit WordSuggestions(const WordSuggestionParts& parts);

  // Off: the row is cleared and nothing is followed or learned.
  void SetEnabled(bool on);
  void SetLearnWords(bool on);
  // The control with the focus takes a password: nothing is held, offered
  // or learned while it does.
  void SetPasswordField(bool focused);
  // Another window or control has the focus, or the text changed where the
  // keyboard cannot see: the word in progress is unknown.
  void LoseTrack();
  // The layout in front changed: its language's words from now on.
  void FollowLayout(Hkl hkl);

  // TypingListener
  void KeyTyped(int vk) override;
  // The row's cell was chosen: its word typed.
  void Choose(int cell);

  const WordInProgress& Progress() const { return progress_; }

 private:
  // The character vk types in the layout in front with the keyboard's key
  // state, a pending dead key composed with it; 0 for none (a dead key waits).
  char16_t TypedCharacter(int vk);
  void Offer();
  bool CapsLock() const;
  KeyStateArray KeyState() const;

  WordSuggestionParts parts_;
  PredictionGate gate_;
  WordInProgress progress_;
  std::vector<std::u16string> offered_;
  // The dead key waiting for its partner, with the state it was typed in.
  int pendingDeadVk_ = 0;
  KeyStateArray pendingDeadState_{};
};

}  // namespace luma
