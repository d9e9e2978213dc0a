#include "input/PressLogic.h"

#include "keys/KeyInput.h"
#include "keys/KeyKinds.h"

namespace luma {

namespace {

// What a pad key sends and what a character key shows hang on toggles the
// system may have changed since the last poll; a lock key's press flips the
// model's toggle, which has to start from the system's.
bool DependsOnToggles(int vk) { return IsLockKey(vk) || IsCharKey(vk); }

}  // namespace

PressLogic::PressLogic(Keyboard& keyboard, KeySender& sender, Timer& pressTimer, PressHost& host)
    : keyboard_(keyboard), sender_(sender), pressTimer_(pressTimer), host_(host) {}

void PressLogic::MouseDown(MouseButton button, std::int32_t x, std::int32_t y) {
  const KeyHit hit = keyboard_.KeyAt(x, y);
  if (hit.key != nullptr) {
    // The press decides which Enter outline was clicked: the hover flag can
    // be stale when a pointer move jumped from one outline to the other
    // without leaving the key, or when no move preceded the press.
    hit.key->SetSecondPartHit(hit.secondPart);
    PressKey(hit.key->Code(), button);
  } else {
    BackgroundDown(button);
  }
  keyboard_.Picture().CopyChanges();
}

void PressLogic::BackgroundDown(MouseButton button) {
  if (button == MouseButton::Left) dragAnchor_ = host_.CursorPos();
}

void PressLogic::PressKey(int vk, MouseButton button) {
  if (IsModifierKey(vk)) {
    // Held for the press delay, a modifier just put down locks; not while
    // the timer repeats a key another button holds.
    if (pressedKey_ != nullptr) {
      ApplyToModifier(vk, ModifierEvent::Click);
    } else {
      const int held = HeldModifier();
      ApplyToModifier(vk, ModifierEvent::Press);
      if (modifiers_[static_cast<std::size_t>(vk)] == ModifierState::Held) {
        // One hold at a time: the one before stays latched.
        if (held != 0) ApplyToModifier(held, ModifierEvent::Release);
        pressTimer_.Stop();
        pressTimer_.Start(kPressDelayMs);
      } else if (held == vk) {
        pressTimer_.Stop();
      }
    }
    Clicked();
    return;
  }
  EndHold();
  const SentForm form = FormNow(vk);
  // Another button on another key (or the other part of Enter) while one is
  // held: without this the first key would never get its key-up and would
  // repeat in the target forever.
  if (pressedKey_ != nullptr && (pressedKey_->Code() != vk || !(pressedForm_ == form))) {
    pressTimer_.Stop();
    ReleasePressedKey();
  }
  pressedKey_ = keyboard_.KeyFor(vk);
  pressedForm_ = form;
  if (button == MouseButton::Middle)
    ApplyToModifier(kMiddleClickCtrl, ModifierEvent::Companion);
  else if (button == MouseButton::Right)
    ApplyToModifier(kRightClickShift, ModifierEvent::Companion);
  PressStep();
  Clicked();
}

void PressLogic::ApplyToModifier(int vk, ModifierEvent event) {
  ModifierState& state = modifiers_[static_cast<std::size_t>(vk)];
  const ModifierStep step = luma::StepModifier(state, event);
  state = step.state;
  Key* key = keyboard_.KeyFor(vk);
  // A lock's bar goes before the key-up's full redraw, so that it does
  // not paint the bar once more.
  if (key != nullptr && state != ModifierState::Locked) key->SetLocked(false);
  if (step.send != KeySend::None) SendAndShow(vk, FormOf(vk), step.send == KeySend::Up);
  if (key != nullptr) {
    key->SetDown(IsDown(state));
    if (state == ModifierState::Locked) key->SetLocked(true);
  }
}

void PressLogic::ApplyToEveryModifier(ModifierEvent event) {
  // In rising code order, the order the system sees the key-ups in.
  for (int vk = 1; vk <= 255; ++vk)
    if (IsDown(modifiers_[static_cast<std::size_t>(vk)])) ApplyToModifier(vk, event);
}

int PressLogic::HeldModifier() const {
  for (int vk = 1; vk <= 255; ++vk)
    if (modifiers_[static_cast<std::size_t>(vk)] == ModifierState::Held) return vk;
  return 0;
}

void PressLogic::EndHold() {
  const int held = HeldModifier();
  if (held == 0) return;
  pressTimer_.Stop();
  ApplyToModifier(held, ModifierEvent::Release);
}

void PressLogic::Clicked() {
  if (sound_ != nullptr) sound_->Play();
}

void PressLogic::ClickKey(int vk, bool secondPart) {
  Key* key = keyboard_.KeyFor(vk);
  if (key == nullptr || Busy()) return;
  // As at a press: the outline chosen, not the one the pointer was over
  // last, decides which Enter is sent.
  key->SetSecondPartHit(secondPart);
  TypeKey(vk);
  keyboard_.Picture().CopyChanges();
}

void PressLogic::TypeKey(int vk) {
  if (IsModifierKey(vk)) {
    ApplyToModifier(vk, ModifierEvent::Click);
    Clicked();
    return;
  }
  const SentForm form = FormNow(vk);
  SendAndShow(vk, form, false);
  Clicked();
  EndTyping(vk, form);
}

void PressLogic::EndTypingWithoutKey() {
  if (Busy()) return;
  ApplyToEveryModifier(ModifierEvent::Typed);
  keyboard_.Picture().CopyChanges();
}

void PressLogic::EndTyping(int vk, SentForm form) {
  SendAndShow(vk, form, true);
  ApplyToEveryModifier(ModifierEvent::Typed);
}

void PressLogic::PressStep() {
  if (pressedKey_ == nullptr) return;
  std::uint32_t interval = kPressDelayMs;
  if (pressTimer_.Running()) {
    pressTimer_.Stop();
    interval = kRepeatIntervalMs;
  }
  SendAndShow(pressedKey_->Code(), pressedForm_, false);
  pressTimer_.Start(interval);
}

void PressLogic::PressTimerTick() {
  if (const int held = HeldModifier(); held != 0) {
    pressTimer_.Stop();
    ApplyToModifier(held, ModifierEvent::HoldElapsed);
    keyboard_.Picture().CopyChanges();
    return;
  }
  // A lock key never repeats: each repeat would flip its toggle again.
  if (pressedKey_ != nullptr && keyRepeat_ && !IsLockKey(pressedKey_->Code())) PressStep();
}

PressLogic::SentForm PressLogic::FormOf(int vk) const {
  const Key* key = keyboard_.KeyFor(vk);
  const int sent = keyboard_.Captions().SentCode(vk);
  // One code serves both Enter keys; the outline under the pointer tells
  // them apart. A pad key standing in for a navigation key sends it unextended.
  const bool extended = sent != vk       ? false
                        : key != nullptr ? key->SendsExtended()
                                         : IsExtendedKey(vk);
  return {sent, extended};
}

PressLogic::SentForm PressLogic::FormNow(int vk) {
  if (DependsOnToggles(vk)) keyboard_.FollowSystemToggles();
  return FormOf(vk);
}

void PressLogic::SendAndShow(int vk, SentForm form, bool keyUp) {
  // Before the key: the listener may have a space to take back first.
  if (!keyUp && typingListener_ != nullptr && !IsModifierKey(vk)) typingListener_->KeyTyped(vk);
  SendKeyInput(sender_, static_cast<std::uint16_t>(form.code), keyUp, form.extended);
  if (Key* key = keyboard_.KeyFor(vk)) key->SetDown(!keyUp);
}

void PressLogic::ReleasePressedKey() {
  SendAndShow(pressedKey_->Code(), pressedForm_, true);
  pressedKey_ = nullptr;
}

void PressLogic::MouseUp() {
  dragAnchor_.reset();
  EndHold();
  if (pressedKey_ == nullptr || !pressTimer_.Running()) return;
  pressTimer_.Stop();
  keyboard_.ClearHot(false);
  const int pressed = pressedKey_->Code();
  pressedKey_ = nullptr;
  EndTyping(pressed, pressedForm_);
  // An ordinary key's up look is only painted on the working image; without
  // this copy it would still show pressed until the pointer moves again,
  // and after a mouse leave until it comes back.
  keyboard_.Picture().CopyChanges();
}

void PressLogic::NoButtonDown() {
  if (pressedKey_ != nullptr || HeldModifier() != 0 || Dragging()) MouseUp();
}

void PressLogic::MouseMove(std::int32_t x, std::int32_t y) {
  if (!Dragging()) {
    keyboard_.TrackPointer(x, y);
    host_.UnfocusChildControls();
    return;
  }
  const Point cursor = host_.CursorPos();
  const Point before = host_.WindowPos();
  Point& anchor = *dragAnchor_;
  host_.MoveWindowLeftTo(before.x + (cursor.x - anchor.x));
  // Re-read: the horizontal move may itself have snapped the window vertically.
  host_.MoveWindowTopTo(host_.WindowPos().y + (cursor.y - anchor.y));
  const Point after = host_.WindowPos();
  // An axis whose move was absorbed by snapping keeps its anchor, so the
  // pointer has to travel further before the window lets go of the edge.
  if (after.x != before.x) anchor.x = cursor.x;
  if (after.y != before.y) anchor.y = cursor.y;
}

void PressLogic::MouseLeave() {
  keyboard_.ClearHot(true);
  MouseUp();
}

void PressLogic::ReleaseHeldKeys() {
  pressTimer_.Stop();
  dragAnchor_.reset();
  const int pressed = pressedKey_ != nullptr ? pressedKey_->Code() : 0;
  // The held key among the modifiers, in one rising order.
  for (int vk = 1; vk <= 255; ++vk) {
    if (vk == pressed)
      SendAndShow(vk, pressedForm_, true);
    else if (IsDown(modifiers_[static_cast<std::size_t>(vk)]))
      ApplyToModifier(vk, ModifierEvent::ReleaseAll);
  }
  pressedKey_ = nullptr;
}

}  // namespace luma
