#include "prediction/WordInProgress.h"

#include <algorithm>

#include "keys/KeyKinds.h"
#include "keys/VirtualKeys.h"
#include "prediction/LetterCase.h"

namespace luma {

namespace {

// Enough for Backspace to walk back over a few words; older text is let go.
constexpr std::size_t kKeptMost = 256;
constexpr std::size_t kKeptAfterTrim = 128;

bool IsApostrophe(char16_t c) { return c == u'\'' || c == u'\u2019'; }

bool IsLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || IsLineBreak(c) || c == u'\u00A0' ||
         (c >= u'\u2000' && c <= u'\u200A') || c == u'\u202F' || c == u'\u3000';
}

bool EndsSentence(char16_t c) { return c == u'.' || c == u'!' || c == u'?' || c == u'\u2026'; }

// The marks that follow a word without a space before them.
bool TakesChosenSpaceBack(char16_t c) {
  return c == u'.' || c == u',' || c == u';' || c == u':' || c == u'!' || c == u'?';
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The characters between two words start a sentence after a line break, or
// after a sentence's mark once a space follows it ("e.g" and "3.5" do not).
bool GapStartsSentence(std::u16string_view gap) {
  bool markSeen = false;
  for (const char16_t c : gap) {
    if (IsLineBreak(c)) return true;
    if (EndsSentence(c)) {
      markSeen = true;
    } else if (markSeen && IsSpace(c)) {
      return true;
    }
  }
  return false;
}

std::u16string WithoutTrailingApostrophes(std::u16string word) {
  while (!word.empty() && IsApostrophe(word.back())) word.pop_back();
  return word;
}

// Letters with inner apostrophes only.
bool IsLearnable(std::u16string_view word) {
  return !word.empty() && std::ranges::all_of(word, [](char16_t c) {
    return letters::IsLetter(c) || IsApostrophe(c);
  });
}

bool IsPadKey(int vk) { return vk >= kVkNumpad0 && vk <= kVkDivide; }

}  // namespace

WordEvent WordEventForKey(int vk, HeldModifiers held, char16_t typed) {
  using Kind = WordEvent::Kind;
  const bool generic = vk == kVkShift || vk == kVkCtrl || vk == kVkAlt;
  // Latched modifiers act on the next key, judged then.
  if (generic || IsModifierKey(vk) || IsLockKey(vk)) return {Kind::None};
  if (held.win) return {Kind::Reset};
  if (vk == kVkBackspace) {
    // Ctrl+Backspace erases a word, Alt+Backspace undoes: how much is unknown.
    return held.ctrl || held.alt ? WordEvent{Kind::Reset} : WordEvent{Kind::Backspace};
  }
  const bool printable = typed >= u' ' && typed != u'\u007F';
  if (held.ctrl || held.alt) {
    return held.ctrl && held.alt && printable ? WordEvent{Kind::Typed, typed}
                                              : WordEvent{Kind::Reset};
  }
  if (vk == kVkSpace) return {Kind::Typed, u' '};
  if (vk == kVkEnter) return {Kind::Typed, u'\r'};
  if (vk == kVkTab) return {Kind::Typed, u'\t'};
  if (IsCharKey(vk)) {
    if (printable) return {Kind::Typed, typed};
    // With Num Lock off the pad's keys move the caret; a dead key types
    // nothing until its letter comes.
    if (typed == 0 && !IsPadKey(vk)) return {Kind::None};
  }
  // The navigation keys, Escape, Delete, the function keys and the rest.
  return {Kind::Reset};
}

TypedResult WordInProgress::Typed(char16_t character) {
  if (character == 0) return {};
  if (character == u'\b') {
    Backspace();
    return {};
  }
  if ((character < u' ' && !IsSpace(character)) || character == u'\u007F') {
    Reset();  // a control character: a shortcut reached the application
    return {};
  }
  TypedResult result;
  if (chosenSpacePending_ && TakesChosenSpaceBack(character) && !text_.empty() &&
      text_.back() == u' ') {
    text_.pop_back();
    result.eraseSpaceFirst = true;
  }
  chosenSpacePending_ = false;

  // The chosen word ended already, with its space.
  const std::u16string wordBefore = result.eraseSpaceFirst ? std::u16string() : Word();
  const std::u16string previousBefore = PreviousWord();
  text_ += character;
  if (!wordBefore.empty() && Word().empty()) {
    std::u16string ended = WithoutTrailingApostrophes(wordBefore);
    if (IsLearnable(ended)) result.ended = EndedWord{std::move(ended), previousBefore};
  }
  KeepBounded();
  return result;
}

void WordInProgress::Backspace() {
  chosenSpacePending_ = false;
  if (text_.empty()) {
    // It erased text typed before the keyboard knew it.
    Reset();
    return;
  }
  const bool pair =
      text_.size() >= 2 && IsLowSurrogate(text_.back()) && IsHighSurrogate(text_[text_.size() - 2]);
  text_.resize(text_.size() - (pair ? 2 : 1));
}

void WordInProgress::Reset() {
  text_.clear();
  frontStartsSentence_ = true;
  wordBeforeFront_.clear();
  chosenSpacePending_ = false;
}

TypedResult WordInProgress::Apply(const WordEvent& event) {
  switch (event.kind) {
    case WordEvent::Kind::None:
      return {};
    case WordEvent::Kind::Typed:
      return Typed(event.character);
    case WordEvent::Kind::Backspace:
      Backspace();
      return {};
    case WordEvent::Kind::Reset:
      Reset();
      return {};
  }
  return {};
}

Completion WordInProgress::Choose(std::u16string_view offered) {
  if (offered.empty()) return {};
  const std::size_t begin = WordBegin(text_.size());
  Completion completion = CompletionFor(std::u16string_view(text_).substr(begin), offered);
  text_.resize(begin);
  text_ += offered;
  text_ += u' ';
  chosenSpacePending_ = true;
  KeepBounded();
  return completion;
}

std::u16string WordInProgress::Word() const { return text_.substr(WordBegin(text_.size())); }

std::u16string WordInProgress::PreviousWord() const { return WordBefore(WordBegin(text_.size())); }

bool WordInProgress::AtSentenceStart() const { return SentenceStartsAt(WordBegin(text_.size())); }

bool WordInProgress::FirstLetterCapital() const {
  const std::size_t begin = WordBegin(text_.size());
  return begin < text_.size() && letters::IsCapital(text_[begin]);
}

std::u16string WordInProgress::Offered(std::u16string_view tableWord, bool capsLock) const {
  return FollowCase(tableWord, Word(), AtSentenceStart(), capsLock);
}

// An apostrophe belongs to the word when a letter is before it ("don't",
// "l'homme"), so that the word goes on matching while it is typed.
std::size_t WordInProgress::WordBegin(std::size_t end) const {
  std::size_t begin = end;
  while (begin > 0) {
    const char16_t c = text_[begin - 1];
    const bool inner = IsApostrophe(c) && begin >= 2 && letters::IsLetterOrDigit(text_[begin - 2]);
    if (!letters::IsLetterOrDigit(c) && !inner) break;
    --begin;
  }
  return begin;
}

std::size_t WordInProgress::GapBegin(std::size_t wordBegin) const {
  std::size_t begin = wordBegin;
  while (begin > 0 && !letters::IsLetterOrDigit(text_[begin - 1])) --begin;
  return begin;
}

std::u16string WordInProgress::WordBefore(std::size_t wordBegin) const {
  const std::size_t end = GapBegin(wordBegin);
  if (end == 0) return wordBeforeFront_;
  const std::size_t begin = WordBegin(end);
  std::u16string word = text_.substr(begin, end - begin);
  return IsLearnable(word) ? word : std::u16string();
}

bool WordInProgress::SentenceStartsAt(std::size_t wordBegin) const {
  const std::size_t gapBegin = GapBegin(wordBegin);
  const std::u16string_view gap = std::u16string_view(text_).substr(gapBegin, wordBegin - gapBegin);
  return GapStartsSentence(gap) || (gapBegin == 0 && frontStartsSentence_);
}

void WordInProgress::KeepBounded() {
  if (text_.size() <= kKeptMost) return;
  // Let go at the start of a word, so that no word is cut in two.
  std::size_t cut = text_.size() - kKeptAfterTrim;
  for (std::size_t at = cut; at < text_.size(); ++at) {
    if (letters::IsLetterOrDigit(text_[at]) && WordBegin(at + 1) == at) {
      cut = at;
      break;
    }
  }
  frontStartsSentence_ = SentenceStartsAt(cut);
  wordBeforeFront_ = WordBefore(cut);
  text_.erase(0, cut);
}

}  // namespace luma
