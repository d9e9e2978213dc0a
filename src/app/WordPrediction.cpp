#include "app/WordPrediction.h"

#include <cwctype>
#include <string>

#include "win32/Focus.h"

namespace luma::app {
namespace {

// The compact tables the program carries, named WORDS_<NAME> (RCDATA).
std::span<const std::uint8_t> TableResource(std::string_view name) {
  std::wstring id = L"WORDS_";
  for (char c : name) id += static_cast<wchar_t>(std::towupper(static_cast<wchar_t>(c)));
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, id.c_str(), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

// What the thread of the window in front has: its focus.
GUITHREADINFO ThreadInfo(HWND foreground) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const DWORD thread = GetWindowThreadProcessId(foreground, nullptr);
  if (thread == 0 || !GetGUIThreadInfo(thread, &info)) info = GUITHREADINFO{};
  // Without a focus named, the window itself has it.
  if (!info.hwndFocus) info.hwndFocus = foreground;
  return info;
}

}  // namespace

void WordPrediction::Create(HWND window, KeyboardView& view, InputDispatch& input,
                            KeyboardLayouts& layouts, LearnedWordsStorage& storage) {
  window_ = window;
  storage_ = &storage;
  passwordQuestions_ = std::make_unique<win32::PasswordQuestions>(window, kPasswordAnswer);
  keyboard_ = view.Model();
  if (!keyboard_ || !view.Row()) return;
  words_ = std::make_unique<TableWords>(TableResource);
  const FileContent kept = storage.Read();
  // An unreadable file stays as it is: what is learned lives for this run.
  if (kept.status == FileContent::Status::kRead) words_->LoadLearned(kept.bytes);
  suggestions_ = std::make_unique<WordSuggestions>(
      WordSuggestionParts{*keyboard_, layouts, view.Sender(), input, *view.Row(), *words_});
  input.SetTypingListener(suggestions_.get());
  view.OnRowChosen([this](int cell) {
    if (suggestions_) suggestions_->Choose(cell);
  });
  layout_ = keyboard_->Captions().CurrentLayout();
  suggestions_->FollowLayout(layout_);
}

void WordPrediction::Apply(const Options& options) {
  if (!suggestions_) return;
  if (on_ && !options.prediction) Save();
  on_ = options.prediction;
  learn_ = options.learnWords;
  suggestions_->SetLearnWords(learn_);
  if (on_) {
    foreground_ = nullptr;  // read afresh at the next poll
    passwordFocus_.AskAgain();
    Poll();
    // Without the watch a click in the text goes unseen: suggestions go on
    // after the old word, as they would after any move the keyboard cannot see.
    clicks_.Start(window_, kClickElsewhere);
    focusMoves_.Start(window_, kFocusMoved);
  } else {
    clicks_.Stop();
    focusMoves_.Stop();
  }
  suggestions_->SetEnabled(on_);
}

void WordPrediction::Poll() {
  if (!suggestions_ || !on_) return;
  // About once a minute at the poll's pace.
  if (++pollsSinceSave_ >= 200) Save();
  HWND foreground = GetForegroundWindow();
  if (foreground == window_) return;
  const HWND focus = ThreadInfo(foreground).hwndFocus;
  if (foreground != foreground_ || focus != focus_) {
    foreground_ = foreground;
    focus_ = focus;
    suggestions_->LoseTrack();
  }
  // The style is cheap to read; accessibility is asked once per focus.
  if (const auto question = passwordFocus_.Follow(reinterpret_cast<std::uintptr_t>(focus),
                                                  win32::FocusedControlIsPassword()))
    passwordQuestions_->Ask(focus, *question);
  ShowPasswordField();
  if (const Hkl layout = keyboard_->Captions().CurrentLayout(); layout != layout_) {
    layout_ = layout;
    suggestions_->FollowLayout(layout);
  }
}

void WordPrediction::PasswordAnswered(WPARAM question, LPARAM password) {
  passwordFocus_.Answer(static_cast<std::uint32_t>(question), password != 0);
  ShowPasswordField();
}

// Asked at the next poll, which sees a move to another control by itself.
// Moves in programs behind are none of its business.
void WordPrediction::FocusMoved(HWND from) {
  if (suggestions_ && on_ && from && GetAncestor(from, GA_ROOT) == foreground_)
    passwordFocus_.AskAgain();
}

void WordPrediction::ShowPasswordField() {
  if (!suggestions_ || !on_) return;
  if (const bool password = passwordFocus_.IsPassword(); password != passwordField_) {
    passwordField_ = password;
    suggestions_->SetPasswordField(password);
  }
}

void WordPrediction::ClickedElsewhere() {
  if (suggestions_ && on_) suggestions_->LoseTrack();
}

void WordPrediction::Forget() {
  if (!words_ || !storage_) return;
  words_->Forget();
  storage_->Delete();
  words_->MarkSaved();
  if (suggestions_) suggestions_->LoseTrack();
}

void WordPrediction::Save() {
  pollsSinceSave_ = 0;
  if (!words_ || !storage_ || !words_->Changed()) return;
  if (storage_->Write(words_->LearnedText())) words_->MarkSaved();
}

}  // namespace luma::app
