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
  bool hit = false;
  for (int vk = 1; vk <= 255; ++vk) {
    Key* key = keyboard_.KeyFor(vk);
    bool part = false;
    if (key == nullptr || !key->HitTest(x, y, part)) continue;
    // The press decides which Enter outline was clicked: the hover flag can
    // be stale when a pointer move jumped from one outline to the other
    // without leaving the key, or when no move preceded the press.
    key->SetSecondPartHit(part);
    PressKey(vk, button);
    hit = true;
    break;
  }
  if (!hit && button == MouseButton::Left) {
    const Point p = host_.CursorPos();
    dragX_ = p.x;
    dragY_ = p.y;
  }
  keyboard_.CopyChanges();
}

void PressLogic::PressKey(int vk, MouseButton button) {
  if (IsModifierKey(vk)) {
    ToggleModifier(vk);
    Clicked();
    // Held for the press delay, a modifier just put down locks; not while
    // the timer repeats a key another button holds.
    if (keyboard_.IsKeyDown(vk) && pressedKey_ == nullptr) {
      heldModifier_ = vk;
      pressTimer_.Start(kPressDelayMs);
    }
    return;
  }
  if (heldModifier_ != 0) {
    pressTimer_.Stop();
    heldModifier_ = 0;
  }
  if (DependsOnToggles(vk)) keyboard_.FollowSystemToggles();
  const SentForm form = FormOf(vk);
  // Another button on another key (or the other part of Enter) while one is
  // held: without this the first key would never get its key-up and would
  // repeat in the target forever.
  if (pressedKey_ != nullptr && (pressedKey_->Code() != vk || !(pressedForm_ == form))) {
    pressTimer_.Stop();
    ReleasePressedKey();
  }
  pressedKey_ = keyboard_.KeyFor(vk);
  pressedForm_ = form;
  if (button == MouseButton::Middle) {
    SendKeyAndShow(kMiddleClickCtrl, false);
    latched_[kMiddleClickCtrl] = true;
  } else if (button == MouseButton::Right) {
    SendKeyAndShow(kRightClickShift, false);
    latched_[kRightClickShift] = true;
  }
  PressStep();
  Clicked();
}

void PressLogic::ToggleModifier(int vk) {
  const auto i = static_cast<std::size_t>(vk);
  const bool down = keyboard_.IsKeyDown(vk);
  latched_[i] = !down;
  SetLocked(vk, false);
  SendKeyAndShow(vk, down);
}

void PressLogic::SetLocked(int vk, bool locked) {
  locked_[static_cast<std::size_t>(vk)] = locked;
  if (Key* key = keyboard_.KeyFor(vk)) key->SetLocked(locked);
}

void PressLogic::Clicked() {
  if (sound_ != nullptr) sound_->Play();
}

void PressLogic::ClickKey(int vk) {
  if (keyboard_.KeyFor(vk) == nullptr || pressedKey_ != nullptr || heldModifier_ != 0 || Dragging())
    return;
  if (IsModifierKey(vk)) {
    ToggleModifier(vk);
    Clicked();
  } else {
    if (DependsOnToggles(vk)) keyboard_.FollowSystemToggles();
    const SentForm form = FormOf(vk);
    SendAndShow(vk, form, false);
    Clicked();
    SendAndShow(vk, form, true);
    ReleaseLatched(vk);
  }
  keyboard_.CopyChanges();
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
  if (heldModifier_ != 0) {
    pressTimer_.Stop();
    SetLocked(heldModifier_, true);
    heldModifier_ = 0;
    keyboard_.CopyChanges();
    return;
  }
  // A lock key never repeats: each repeat would flip its toggle again.
  if (pressedKey_ != nullptr && autoClick_ && !IsLockKey(pressedKey_->Code())) PressStep();
}

PressLogic::SentForm PressLogic::FormOf(int vk) const {
  const Key* key = keyboard_.KeyFor(vk);
  const int sent = keyboard_.SentCode(vk);
  // One code serves both Enter keys; the outline under the pointer tells
  // them apart. A pad key standing in for a navigation key sends it unextended.
  const bool extended = sent != vk       ? false
                        : key != nullptr ? key->SendsExtended()
                                         : IsExtendedKey(vk);
  return {sent, extended};
}

void PressLogic::SendAndShow(int vk, SentForm form, bool keyUp) {
  SendKeyInput(sender_, static_cast<std::uint16_t>(form.code), keyUp, form.extended);
  if (Key* key = keyboard_.KeyFor(vk)) key->SetDown(!keyUp);
}

void PressLogic::ReleasePressedKey() {
  SendAndShow(pressedKey_->Code(), pressedForm_, true);
  pressedKey_ = nullptr;
}

void PressLogic::MouseUp() {
  dragX_ = dragY_ = kNoDrag;
  if (heldModifier_ != 0) {
    // Let go before the press delay: latched, as a click leaves it.
    pressTimer_.Stop();
    heldModifier_ = 0;
  }
  if (pressedKey_ == nullptr || !pressTimer_.Running()) return;
  pressTimer_.Stop();
  keyboard_.ClearHot(false);
  const int pressed = pressedKey_->Code();
  SendAndShow(pressed, pressedForm_, true);
  ReleaseLatched(pressed);
  pressedKey_ = nullptr;
  // An ordinary key's up look is only painted on the working image; without
  // this copy it would still show pressed until the pointer moves again,
  // and after a mouse leave until it comes back.
  keyboard_.CopyChanges();
}

void PressLogic::NoButtonDown() {
  if (pressedKey_ != nullptr || heldModifier_ != 0 || Dragging()) MouseUp();
}

void PressLogic::ReleaseLatched(int except) {
  for (int vk = 1; vk <= 255; ++vk) {
    const auto i = static_cast<std::size_t>(vk);
    if (vk == except || !latched_[i] || locked_[i] || !keyboard_.IsKeyDown(vk)) continue;
    SendKeyAndShow(vk, true);
    latched_[i] = false;
  }
}

void PressLogic::MouseMove(std::int32_t x, std::int32_t y) {
  if (!Dragging()) {
    keyboard_.TrackPointer(x, y);
    host_.UnfocusChildControls();
    return;
  }
  const Point cursor = host_.CursorPos();
  const Point before = host_.WindowPos();
  host_.SetWindowLeft(before.x + (cursor.x - dragX_));
  // Re-read: the horizontal move may itself have snapped the window vertically.
  host_.SetWindowTop(host_.WindowPos().y + (cursor.y - dragY_));
  const Point after = host_.WindowPos();
  // An axis whose move was absorbed by snapping keeps its anchor, so the
  // pointer has to travel further before the window lets go of the edge.
  if (after.x != before.x) dragX_ = cursor.x;
  if (after.y != before.y) dragY_ = cursor.y;
}

void PressLogic::MouseLeave() {
  keyboard_.ClearHot(true);
  MouseUp();
}

void PressLogic::ReleaseHeldKeys() {
  pressTimer_.Stop();
  heldModifier_ = 0;
  dragX_ = dragY_ = kNoDrag;
  const int pressed = pressedKey_ != nullptr ? pressedKey_->Code() : 0;
  for (int vk = 1; vk <= 255; ++vk) {
    const auto i = static_cast<std::size_t>(vk);
    if (vk != pressed && !latched_[i]) continue;
    SetLocked(vk, false);
    SendAndShow(vk, vk == pressed ? pressedForm_ : FormOf(vk), true);
    latched_[i] = false;
  }
  pressedKey_ = nullptr;
}

}  // namespace luma
