#include "input/ModifierStep.h"

namespace luma {

ModifierStep StepModifier(ModifierState state, ModifierEvent event) {
  using enum ModifierState;
  const bool down = IsDown(state);
  switch (event) {
    case ModifierEvent::Press:
      return down ? ModifierStep{Up, KeySend::Up} : ModifierStep{Held, KeySend::Down};
    case ModifierEvent::Click:
      return down ? ModifierStep{Up, KeySend::Up} : ModifierStep{Latched, KeySend::Down};
    case ModifierEvent::Companion:
      // Sent down again even when it already is: the added key is part of
      // the click. A locked one stays locked.
      return {state == Locked ? Locked : Latched, KeySend::Down};
    case ModifierEvent::Release:
      return {state == Held ? Latched : state, KeySend::None};
    case ModifierEvent::HoldElapsed:
      return {state == Held ? Locked : state, KeySend::None};
    case ModifierEvent::Typed:
      if (state == Latched || state == Held) return {Up, KeySend::Up};
      return {state, KeySend::None};
    case ModifierEvent::ReleaseAll:
      return down ? ModifierStep{Up, KeySend::Up} : ModifierStep{Up, KeySend::None};
  }
  return {state, KeySend::None};
}

}  // namespace luma
