// A modifier key's life between up, latched, locked and held, as a pure
// step: the new state and the key event to send. The caller sends the
// event and shows the key after the step.
#pragma once

namespace luma {

enum class ModifierState {
  Up,
  Latched,  // down until the next typed key or a click on it
  Locked,   // down across typed keys until a click on it
  Held,     // latched by a button still down: locks when the press delay passes
};

enum class ModifierEvent {
  Press,        // a button on the modifier while no other key is held: it may lock
  Click,        // a hover click on it, or a button while another key is held
  Companion,    // a right or middle click on an ordinary key adds it
  Release,      // the hold ends before the press delay: the button let go, another key pressed
  HoldElapsed,  // the press delay passed with the button still down
  Typed,        // an ordinary key went up
  ReleaseAll,   // the keyboard closes, is minimised or switches
};

enum class KeySend { None, Down, Up };

struct ModifierStep {
  ModifierState state = ModifierState::Up;
  KeySend send = KeySend::None;
  friend bool operator==(const ModifierStep&, const ModifierStep&) = default;
};

ModifierStep StepModifier(ModifierState state, ModifierEvent event);

// Down in the system and drawn pressed.
constexpr bool IsDown(ModifierState state) { return state != ModifierState::Up; }

}  // namespace luma
