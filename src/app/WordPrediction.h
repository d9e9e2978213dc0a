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
#include "prediction/PasswordFocus.h"
#include "settings/Options.h"
#include "win32/AccessiblePassword.h"
#include "win32/ClickWatch.h"
#include "win32/FocusWatch.h"
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
  // With the layout poll: another window or control in front, a password
  // field, another layout; now and then what was learned is written, so that
  // a keyboard that is killed loses little.
  void Poll();
  // The learned words of every language go, from memory and from the file.
  void Forget();
  // What was learned since the last save, written.
  void Save();
  // A mouse button was pressed outside the keyboard (the caret may have
  // moved there): kClickElsewhere, posted while prediction is on.
  void ClickedElsewhere();
  static constexpr UINT kClickElsewhere = WM_APP + 2;
  // What accessibility said about the focus a poll asked about:
  // kPasswordAnswer's wParam and lParam.
  void PasswordAnswered(WPARAM question, LPARAM password);
  static constexpr UINT kPasswordAnswer = WM_APP + 3;
  // The focus moved in some program, perhaps inside the window in front:
  // kFocusMoved, posted while prediction is on, with the window it came from.
  void FocusMoved(HWND from);
  static constexpr UINT kFocusMoved = WM_APP + 4;

 private:
  void ShowPasswordField();

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
  PasswordFocus passwordFocus_;
  std::unique_ptr<win32::PasswordQuestions> passwordQuestions_;
  int pollsSinceSave_ = 0;
  win32::ClickWatch clicks_;
  win32::FocusWatch focusMoves_;
  Hkl layout_ = 0;
};

}  // namespace luma::app
