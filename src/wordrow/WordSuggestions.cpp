#include "wordrow/WordSuggestions.h"

#include "keyboard/Captions.h"
#include "keys/KeyInput.h"
#include "keys/VirtualKeys.h"

namespace luma {

namespace {
constexpr int kOffered = WordRow::kCells;
}  // namespace

WordSuggestions::WordSuggestions(const WordSuggestionParts& parts) : parts_(parts) {}

void WordSuggestions::SetEnabled(bool on) {
  gate_.SetEnabled(on);
  LoseTrack();
}

void WordSuggestions::SetLearnWords(bool on) { gate_.SetLearnWords(on); }

void WordSuggestions::SetPasswordField(bool focused) {
  gate_.SetPasswordField(focused);
  if (focused) progress_.Reset();
  Offer();
}

void WordSuggestions::LoseTrack() {
  progress_.Reset();
  pendingDeadVk_ = 0;
  Offer();
}

void WordSuggestions::FollowLayout(Hkl hkl) {
  const auto language = static_cast<std::uint16_t>(hkl & 0x3FF);
  gate_.SetLanguageHasTable(parts_.words.SetLanguage(language));
  offered_.clear();
  Offer();
}

KeyStateArray WordSuggestions::KeyState() const {
  KeyStateArray state{};
  for (int vk = 1; vk <= 255; ++vk)
    state[static_cast<std::size_t>(vk)] = parts_.keyboard.KeyStateEntry(vk);
  return state;
}

bool WordSuggestions::CapsLock() const {
  return (parts_.keyboard.KeyStateEntry(kVkCapsLock) & 1) != 0;
}

char16_t WordSuggestions::TypedCharacter(int vk) {
  const Hkl hkl = parts_.keyboard.Captions().CurrentLayout();
  const KeyStateArray state = KeyState();
  if (pendingDeadVk_ != 0) {
    // The dead key again, then this key: the layout composes them as the
    // application in front does.
    TranslateKey(parts_.layouts, pendingDeadVk_, pendingDeadState_, hkl);
    pendingDeadVk_ = 0;
    const KeyTranslation t = TranslateKey(parts_.layouts, vk, state, hkl);
    return t.text.empty() ? char16_t{0} : t.text.front();
  }
  const KeyTranslation t = TranslateKey(parts_.layouts, vk, state, hkl);
  if (t.result < 0) {
    // A second translation clears the dead key this one left pending here.
    TranslateKey(parts_.layouts, vk, state, hkl);
    pendingDeadVk_ = vk;
    pendingDeadState_ = state;
    return 0;
  }
  return t.text.empty() ? char16_t{0} : t.text.front();
}

void WordSuggestions::KeyTyped(int vk) {
  if (!gate_.Suggests()) return;
  const Keyboard& keyboard = parts_.keyboard;
  const HeldModifiers held{keyboard.IsKeyDown(kVkLeftCtrl) || keyboard.IsKeyDown(kVkRightCtrl),
                           keyboard.IsKeyDown(kVkLeftAlt) || keyboard.IsKeyDown(kVkRightAlt),
                           keyboard.IsKeyDown(kVkLeftWin) || keyboard.IsKeyDown(kVkRightWin)};
  const WordEvent event = WordEventForKey(vk, held, TypedCharacter(vk));
  if (event.kind == WordEvent::Kind::Reset) pendingDeadVk_ = 0;
  const TypedResult result = progress_.Apply(event);
  if (result.eraseSpaceFirst) SendBackspaces(parts_.sender, 1);
  if (result.ended && gate_.Learns())
    parts_.words.Learn(result.ended->word, result.ended->previous);
  if (event.kind != WordEvent::Kind::None) Offer();
}

void WordSuggestions::Choose(int cell) {
  if (!gate_.Suggests()) return;
  const std::u16string word = parts_.row.Word(cell);
  if (word.empty()) return;
  const std::u16string previous = progress_.PreviousWord();
  const Completion completion = progress_.Choose(word);
  SendBackspaces(parts_.sender, completion.backspaces);
  SendText(parts_.sender, completion.text);
  parts_.input.EndTypingWithoutKey();
  if (gate_.Learns()) parts_.words.Learn(word, previous);
  Offer();
}

void WordSuggestions::Offer() {
  WordRow& row = parts_.row;
  if (!gate_.Suggests()) {
    offered_.clear();
    row.ShowMessage(std::u16string(RowNote(gate_.Row())));
    return;
  }
  const std::vector<std::u16string> found =
      parts_.words.Suggest(progress_.Word(), progress_.PreviousWord(), kOffered, offered_);
  offered_ = found;
  std::vector<std::u16string> shown;
  const bool capsLock = CapsLock();
  for (const auto& word : found) shown.push_back(progress_.Offered(word, capsLock));
  if (shown.empty() && gate_.Row() == RowState::NoTable)
    row.ShowMessage(std::u16string(RowNote(RowState::NoTable)));
  else
    row.SetWords(shown);
}

}  // namespace luma
