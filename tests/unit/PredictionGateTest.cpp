// When prediction suggests and learns, and what its row shows.
#include <gtest/gtest.h>

#include "prediction/PredictionGate.h"

namespace luma {
namespace {

TEST(PredictionGate, APasswordFieldPausesSuggestingAndLearning) {
  struct GateRow {
    bool enabled, learnWords, passwordField, hasTable;
    bool suggests, learns;
    RowState row;
  };
  constexpr GateRow kRows[] = {
      {false, true, false, true, false, false, RowState::Hidden},
      {false, true, true, false, false, false, RowState::Hidden},
      {true, true, false, true, true, true, RowState::Suggestions},
      {true, false, false, true, true, false, RowState::Suggestions},
      {true, true, true, true, false, false, RowState::Paused},
      {true, true, true, false, false, false, RowState::Paused},
      {true, true, false, false, true, true, RowState::NoTable},  // learned words still count
      {true, false, false, false, true, false, RowState::NoTable},
  };
  EXPECT_EQ(PredictionGate().Row(), RowState::Hidden);  // off until chosen
  for (const GateRow& r : kRows) {
    PredictionGate gate;
    gate.SetEnabled(r.enabled);
    gate.SetLearnWords(r.learnWords);
    gate.SetPasswordField(r.passwordField);
    gate.SetLanguageHasTable(r.hasTable);
    const std::string what =
        "enabled " + std::to_string(r.enabled) + " learn " + std::to_string(r.learnWords) +
        " password " + std::to_string(r.passwordField) + " table " + std::to_string(r.hasTable);
    EXPECT_EQ(gate.Suggests(), r.suggests) << what;
    EXPECT_EQ(gate.Learns(), r.learns) << what;
    EXPECT_EQ(gate.Row(), r.row) << what;
    // A state that shows no cells says why.
    EXPECT_EQ(RowNote(gate.Row()).empty(),
              gate.Row() == RowState::Hidden || gate.Row() == RowState::Suggestions)
        << what;
  }
}

}  // namespace
}  // namespace luma
