// Whether word prediction runs, learns or waits, and what its row shows.
#pragma once

#include <string_view>

namespace luma {

enum class RowState {
  Hidden,       // prediction is off: no row, nothing followed
  Paused,       // a password field has the focus: nothing suggested or learned
  NoTable,      // no word table for the language: a note in the first cell's place
  Suggestions,  // the cells show what is suggested (learned words only without a table)
};

class PredictionGate {
 public:
  void SetEnabled(bool on) { enabled_ = on; }
  void SetLearnWords(bool on) { learnWords_ = on; }
  // The focused control of the application in front takes a password.
  void SetPasswordField(bool focused) { passwordField_ = focused; }
  void SetLanguageHasTable(bool hasTable) { languageHasTable_ = hasTable; }

  // Follow the typing and ask for suggestions. While this is false the word
  // in progress is to be kept reset: what goes into a password field is
  // never held, not even for a moment.
  bool Suggests() const;
  bool Learns() const;
  RowState Row() const;

 private:
  bool enabled_ = false;
  bool learnWords_ = true;
  bool passwordField_ = false;
  bool languageHasTable_ = true;
};

// The muted note a row in that state shows in its first cell's place; empty
// for the states that show none.
std::u16string_view RowNote(RowState state);

}  // namespace luma
