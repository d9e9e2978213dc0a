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
  struct StepRow {
    ModifierState from;
    ModifierEvent event;
    ModifierState to;
    KeySend send;
  };
  constexpr StepRow kRows[] = {
      // A button on the modifier: down towards a lock, or up from any down state.
      {Up, Press, Held, kDown},
      {Latched, Press, Up, kUp},
      {Locked, Press, Up, kUp},
      {Held, Press, Up, kUp},  // a second button on the modifier it holds
      // A hover click: down for the next key only.
      {Up, Click, Latched, kDown},
      {Latched, Click, Up, kUp},
      {Locked, Click, Up, kUp},
      {Held, Click, Up, kUp},
      // Added by a right or middle click: sent down again, a lock kept.
      {Up, Companion, Latched, kDown},
      {Latched, Companion, Latched, kDown},
      {Locked, Companion, Locked, kDown},
      {Held, Companion, Latched, kDown},
      // The hold ends early: latched, as a click leaves it.
      {Up, Release, Up, kNone},
      {Latched, Release, Latched, kNone},
      {Locked, Release, Locked, kNone},
      {Held, Release, Latched, kNone},
      // Held for the press delay: locked.
      {Up, HoldElapsed, Up, kNone},
      {Latched, HoldElapsed, Latched, kNone},
      {Locked, HoldElapsed, Locked, kNone},
      {Held, HoldElapsed, Locked, kNone},
      // An ordinary key typed: the latched ones go, a lock stays.
      {Up, Typed, Up, kNone},
      {Latched, Typed, Up, kUp},
      {Locked, Typed, Locked, kNone},
      {Held, Typed, Up, kUp},
      // Closing: nothing stays down.
      {Up, ReleaseAll, Up, kNone},
      {Latched, ReleaseAll, Up, kUp},
      {Locked, ReleaseAll, Up, kUp},
      {Held, ReleaseAll, Up, kUp},
  };
  static_assert(std::size(kRows) == 4 * 7, "every pair once");
  for (const StepRow& r : kRows) {
    const ModifierStep step = StepModifier(r.from, r.event);
    EXPECT_EQ(step, (ModifierStep{r.to, r.send})) << Describe(r.from, r.event);
    // What the system is sent agrees with what the key shows.
    if (step.send != kNone) {
      EXPECT_EQ(IsDown(step.state), step.send == kDown) << Describe(r.from, r.event);
    }
  }
}

}  // namespace
}  // namespace luma
