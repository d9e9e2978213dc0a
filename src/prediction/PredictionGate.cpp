#include "prediction/PredictionGate.h"

namespace luma {

bool PredictionGate::Suggests() const { return enabled_ && !passwordField_; }

bool PredictionGate::Learns() const { return Suggests() && learnWords_; }

RowState PredictionGate::Row() const {
  if (!enabled_) return RowState::Hidden;
  if (passwordField_) return RowState::Paused;
  return languageHasTable_ ? RowState::Suggestions : RowState::NoTable;
}

std::u16string_view RowNote(RowState state) {
  switch (state) {
    case RowState::Paused:
      return u"Paused in a password field";
    case RowState::NoTable:
      return u"No word list for this language";
    case RowState::Hidden:
    case RowState::Suggestions:
      break;
  }
  return {};
}

}  // namespace luma
