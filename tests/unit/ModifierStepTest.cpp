#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "input/ModifierStep.h"

namespace luma {
namespace {

std::string Describe(ModifierState state, ModifierEvent event) {
  constexpr const char* kStates[] = {"Up", "Latched", "Locked", "Held"};
  constexpr const char* kEvents[] = {"Press",       "Click", "Companion", "Release",
                                     "HoldElapsed", "Typed", "ReleaseAll"};
  return std::string(kStates[static_cast<int>(state)]) + " + " + kEvents[static_cast<int>(event)];
}

TEST(ModifierStep, EveryStateAndEventGivesItsStateAndKeyEvent) {
  using enum ModifierState;
  using enum ModifierEvent;
  constexpr KeySend kNone = KeySend::None, kDown = KeySend::Down, kUp = KeySend::Up;
  // For each event, what it makes of Up, Latched, Locked and Held. A button
  // on the modifier: down towards a lock, or up from any down state (Held: a
  // second button on the modifier it holds). A hover click: down for the next
  // key only. Added by a right or middle click: sent down again, a lock kept.
  // The hold ending early: latched, as a click leaves it. Held for the press
  // delay: locked. An ordinary key typed: the latched ones go, a lock stays.
  // Closing: nothing stays down.
  constexpr struct {
    ModifierEvent event;
    ModifierStep from[4];
  } rows[] = {
      {Press, {{Held, kDown}, {Up, kUp}, {Up, kUp}, {Up, kUp}}},
      {Click, {{Latched, kDown}, {Up, kUp}, {Up, kUp}, {Up, kUp}}},
      {Companion, {{Latched, kDown}, {Latched, kDown}, {Locked, kDown}, {Latched, kDown}}},
      {Release, {{Up, kNone}, {Latched, kNone}, {Locked, kNone}, {Latched, kNone}}},
      {HoldElapsed, {{Up, kNone}, {Latched, kNone}, {Locked, kNone}, {Locked, kNone}}},
      {Typed, {{Up, kNone}, {Up, kUp}, {Locked, kNone}, {Up, kUp}}},
      {ReleaseAll, {{Up, kNone}, {Up, kUp}, {Up, kUp}, {Up, kUp}}},
  };
  static_assert(std::size(rows) == 7, "every event once");
  for (const auto& r : rows) {
    for (const ModifierState from : {Up, Latched, Locked, Held}) {
      SCOPED_TRACE(Describe(from, r.event));
      const ModifierStep step = StepModifier(from, r.event);
      EXPECT_EQ(step, r.from[static_cast<int>(from)]);
      // What the system is sent agrees with what the key shows.
      if (step.send != kNone) {
        EXPECT_EQ(IsDown(step.state), step.send == kDown);
      }
    }
  }
}

}  // namespace
}  // namespace luma
