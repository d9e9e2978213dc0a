// Word prediction in the window: the row above the keys offered from the
// program's word tables and the user's learned words, following the
// application in front (its layout's language, its focus, a password field),
// and the learned words kept between runs.
#pragma once

#include <windows.h>

#include <memory>

#include "app/KeyboardView.h"
#include "input/InputDispatch.h"
#include "platform/LearnedWordsStorage.h"
#include "platform/Types.h"
#include "settings/Options.h"
#include "wordrow/TableWords.h"
#include "wordrow/WordSuggestions.h"

namespace luma::app {

class WordPrediction {
 public:
  // After the view and the input are made; storage: where learned words are
  // kept, outliving this. Without a keyboard model nothing is offered.
  void Create(HWND window, KeyboardView& view, InputDispatch& input, KeyboardLayouts& layouts,
              LearnedWordsStorage& storage);
  // Word prediction and learning as chosen.
  void Apply(const Options& options);
  // With the layout poll: another window or control in front, its caret
  // moved by something else than the keyboard (a click, the user's own
  // keys), a password field, another layout; now and then what was learned is written, so that
  // a keyboard that is killed loses little.
  void Poll();
  // The learned words of every language go, from memory and from the file.
  void Forget();
  // What was learned since the last save, written.
  void Save();

 private:
  HWND window_ = nullptr;
  LearnedWordsStorage* storage_ = nullptr;
  Keyboard* keyboard_ = nullptr;
  std::unique_ptr<TableWords> words_;
  std::unique_ptr<WordSuggestions> suggestions_;
  bool on_ = false;
  bool learn_ = true;
  HWND foreground_ = nullptr;
  HWND focus_ = nullptr;
  bool passwordField_ = false;
  int pollsSinceSave_ = 0;
  // The caret where the last poll saw it, and the keyboard's typed count at
  // the two polls before: a caret that moved while the keyboard typed
  // nothing for two polls was moved by something else.
  HWND caretWindow_ = nullptr;
  RECT caret_{};
  std::uint64_t typedAtPoll_[2] = {0, 0};
  Hkl layout_ = 0;
};

}  // namespace luma::app
