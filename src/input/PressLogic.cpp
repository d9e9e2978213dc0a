#include "input/PressLogic.h"

#include <algorithm>

#include "lib/KeyKinds.h"
#include "lib/KeyInput.h"

namespace luma {

namespace {

constexpr bool NeverRepeats(int vk) { return vk == 20 || vk == 144 || vk == 145; }

std::uint32_t Interval(std::int32_t ms) { return static_cast<std::uint32_t>(std::max(ms, 0)); }

}  // namespace

PressLogic::PressLogic(Keyboard& keyboard, KeySender& sender, Timer& pressTimer,
                       PressHost& host)
    : keyboard_(keyboard), sender_(sender), pressTimer_(pressTimer), host_(host) {}

void PressLogic::MouseDown(MouseButton button, std::int32_t x, std::int32_t y) {
  bool hit = false;
  for (int vk = 1; vk <= 255; ++vk) {
    Key* btn = keyboard_.Btn(vk);
    bool part = false;
    if (btn == nullptr || !btn->HitTest(x, y, part)) continue;
    // The press decides which Enter outline was clicked: the hover flag can
    // be stale when a pointer move jumped from one outline to the other
    // without leaving the key, or when no move preceded the press.
    btn->Extended = part;
    PressKey(static_cast<std::uint8_t>(vk), button);
    hit = true;
    break;
  }
  if (!hit && button == MouseButton::Left) {
    const Point p = host_.CursorPos();
    dragX_ = p.x;
    dragY_ = p.y;
  }
  keyboard_.CopyToScreen();
}

void PressLogic::PressKey(std::uint8_t vk, MouseButton button) {
  if (IsModifierKey(vk)) {
    const bool down = keyboard_.IsKeyDown(vk);
    latched_[vk] = !down;
    SendKeyAndShow(vk, down);
    return;
  }
  // Another button on another key while one is held: without this the first
  // key would never get its key-up and would repeat in the target forever.
  if (pressedBtn_ != nullptr && pressedBtn_->Code != vk) {
    pressTimer_.Stop();
    ReleasePressedKey();
  }
  pressedBtn_ = keyboard_.Btn(vk);
  if (button == MouseButton::Middle) {
    SendKeyAndShow(kMiddleClickCtrl, false);
    latched_[kMiddleClickCtrl] = true;
  } else if (button == MouseButton::Right) {
    SendKeyAndShow(kRightClickShift, false);
    latched_[kRightClickShift] = true;
  }
  PressStep();
}

void PressLogic::PressStep() {
  if (pressedBtn_ == nullptr) return;
  std::uint32_t interval = Interval(pressDelay_);
  if (pressTimer_.Running()) {
    pressTimer_.Stop();
    interval = Interval(repeatInterval_);
  }
  SendKeyAndShow(pressedBtn_->Code, false);
  pressTimer_.Start(interval);
}

void PressLogic::PressTimerTick() {
  if (pressedBtn_ != nullptr && autoClick_ && !NeverRepeats(pressedBtn_->Code)) PressStep();
}

void PressLogic::SendKeyAndShow(std::uint16_t vk, bool keyUp) {
  Key* btn = keyboard_.Btn(vk);
  // One code serves both Enter keys; the outline that was hit tells them apart.
  const bool extended = (vk == 13 && btn != nullptr) ? btn->Extended : IsExtendedKey(vk);
  SendKeyInput(sender_, vk, keyUp, extended);
  if (btn != nullptr) btn->SetDown(!keyUp);
}

void PressLogic::ReleasePressedKey() {
  SendKeyAndShow(pressedBtn_->Code, true);
  pressedBtn_ = nullptr;
}

void PressLogic::MouseUp() {
  dragX_ = dragY_ = kNoDrag;
  if (pressedBtn_ == nullptr || !pressTimer_.Running()) return;
  pressTimer_.Stop();
  keyboard_.ClearHot(false);
  const std::uint8_t pressed = pressedBtn_->Code;
  SendKeyAndShow(pressed, true);
  for (int vk = 1; vk <= 255; ++vk) {
    if (vk == pressed || !latched_[vk] || !keyboard_.IsKeyDown(vk)) continue;
    SendKeyAndShow(static_cast<std::uint16_t>(vk), true);
    latched_[vk] = false;
  }
  pressedBtn_ = nullptr;
  // An ordinary key's up look is only painted on the working image; without
  // this copy it would still show pressed until the pointer moves again,
  // and after a mouse leave until it comes back.
  keyboard_.CopyToScreen();
}

void PressLogic::MouseMove(std::int32_t x, std::int32_t y) {
  if (!Dragging()) {
    keyboard_.TrackPointer(x, y);
    host_.ClearActiveControl();
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
  dragX_ = dragY_ = kNoDrag;
  const int pressed = pressedBtn_ != nullptr ? pressedBtn_->Code : 0;
  for (int vk = 1; vk <= 255; ++vk) {
    if (vk != pressed && !latched_[vk]) continue;
    SendKeyAndShow(static_cast<std::uint16_t>(vk), true);
    latched_[vk] = false;
  }
  pressedBtn_ = nullptr;
}

}  // namespace luma
