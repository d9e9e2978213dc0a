// When prediction suggests and learns, and what its row shows.
#include <gtest/gtest.h>

#include <vector>

#include "prediction/PasswordFocus.h"
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

// A poll sees a focus and its style; accessibility answers later, or never.
TEST(PasswordFocus, AccessibilityCountsOnlyForTheFocusItWasAskedAbout) {
  enum class Step { Follow, MoveWithin, Answer };
  struct FocusStep {
    Step step;
    std::uintptr_t focus;  // Follow: the focus seen
    bool flag;             // Follow: the password style; Answer: what is said
    int question;          // Answer: which of the questions asked, counted from 1
    bool asks;             // Follow: a question goes out
    bool password;
  };
  const struct {
    const char* name;
    std::vector<FocusStep> steps;
  } cases[] = {
      {"the style counts at once, before any answer",
       {{Step::Follow, 1, true, 0, true, true}, {Step::Follow, 1, true, 0, false, true}}},
      {"one question per focus, its answer kept across polls",
       {{Step::Follow, 1, false, 0, true, false},
        {Step::Answer, 0, true, 1, false, true},
        {Step::Follow, 1, false, 0, false, true},
        {Step::Follow, 1, false, 0, false, true}}},
      {"unanswered means not a password",
       {{Step::Follow, 1, false, 0, true, false}, {Step::Follow, 1, false, 0, false, false}}},
      {"another focus forgets the answer and asks again",
       {{Step::Follow, 1, false, 0, true, false},
        {Step::Answer, 0, true, 1, false, true},
        {Step::Follow, 2, false, 0, true, false}}},
      {"a late answer about the focus before is dropped",
       {{Step::Follow, 1, false, 0, true, false},
        {Step::Follow, 2, false, 0, true, false},
        {Step::Answer, 0, true, 1, false, false},
        {Step::Answer, 0, false, 2, false, false}}},
      {"an answer of no leaves the style's yes",
       {{Step::Follow, 1, true, 0, true, true}, {Step::Answer, 0, false, 1, false, true}}},
      {"back to a focus seen before is asked again",
       {{Step::Follow, 1, false, 0, true, false},
        {Step::Answer, 0, true, 1, false, true},
        {Step::Follow, 2, false, 0, true, false},
        {Step::Follow, 1, false, 0, true, false}}},
      {"a move inside the control asks again and drops the answer on the way",
       {{Step::Follow, 1, false, 0, true, false},
        {Step::MoveWithin, 0, false, 0, false, false},
        {Step::Answer, 0, true, 1, false, false},
        {Step::Follow, 1, false, 0, true, false},
        {Step::Answer, 0, true, 2, false, true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PasswordFocus focus;
    std::vector<std::uint32_t> questions;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i + 1));
      const FocusStep& s = c.steps[i];
      switch (s.step) {
        case Step::Follow: {
          const auto question = focus.Follow(s.focus, s.flag);
          EXPECT_EQ(question.has_value(), s.asks);
          if (question) questions.push_back(*question);
          break;
        }
        case Step::MoveWithin:
          focus.AskAgain();
          break;
        case Step::Answer:
          ASSERT_LE(static_cast<std::size_t>(s.question), questions.size());
          focus.Answer(questions[s.question - 1], s.flag);
          break;
      }
      EXPECT_EQ(focus.IsPassword(), s.password);
    }
  }
}

}  // namespace
}  // namespace luma
