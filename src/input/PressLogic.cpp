#include "input/PressLogic.h"

#include <algorithm>

#include "lib/HvLib.h"

namespace luma {

namespace {

constexpr bool NeverRepeats(int vk) { return vk == 20 || vk == 144 || vk == 145; }

std::uint32_t Interval(std::int32_t ms) { return static_cast<std::uint32_t>(std::max(ms, 0)); }

}  // namespace

PressLogic::PressLogic(THvKeyboard& keyboard, KeySender& sender, Timer& pressTimer,
                       PressHost& host)
    : FKeyboard(keyboard), FSender(sender), FPressTimer(pressTimer), FHost(host) {}

void PressLogic::MouseDown(MouseButton button, std::int32_t x, std::int32_t y) {
  bool hit = false;
  for (int vk = 1; vk <= 255; ++vk) {
    THvBtn* btn = FKeyboard.Btn(vk);
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
    const Point p = FHost.CursorPos();
    FDragX = p.x;
    FDragY = p.y;
  }
  FKeyboard.CopyToScreen();
}

void PressLogic::PressKey(std::uint8_t vk, MouseButton button) {
  if (IsModifierKey(vk)) {
    const bool down = FKeyboard.IsKeyDown(vk);
    FLatched[vk] = !down;
    SendKeyAndShow(vk, down);
    return;
  }
  // Another button on another key while one is held: without this the first
  // key would never get its key-up and would repeat in the target forever.
  if (FPressedBtn != nullptr && FPressedBtn->Code != vk) {
    FPressTimer.Stop();
    ReleasePressedKey();
  }
  FPressedBtn = FKeyboard.Btn(vk);
  if (button == MouseButton::Middle) {
    SendKeyAndShow(kMiddleClickCtrl, false);
    FLatched[kMiddleClickCtrl] = true;
  } else if (button == MouseButton::Right) {
    SendKeyAndShow(kRightClickShift, false);
    FLatched[kRightClickShift] = true;
  }
  PressStep();
}

void PressLogic::PressStep() {
  if (FPressedBtn == nullptr) return;
  std::uint32_t interval = Interval(FPressDelay);
  if (FPressTimer.Running()) {
    FPressTimer.Stop();
    interval = Interval(FRepeatInterval);
  }
  SendKeyAndShow(FPressedBtn->Code, false);
  FPressTimer.Start(interval);
}

void PressLogic::PressTimerTick() {
  if (FPressedBtn != nullptr && FAutoClick && !NeverRepeats(FPressedBtn->Code)) PressStep();
}

void PressLogic::SendKeyAndShow(std::uint16_t vk, bool keyUp) {
  THvBtn* btn = FKeyboard.Btn(vk);
  // One code serves both Enter keys; the outline that was hit tells them apart.
  const bool extended = (vk == 13 && btn != nullptr) ? btn->Extended : IsExtendedKey(vk);
  SendKeyInput(FSender, vk, keyUp, extended);
  if (btn != nullptr) btn->SetDown(!keyUp);
}

void PressLogic::ReleasePressedKey() {
  SendKeyAndShow(FPressedBtn->Code, true);
  FPressedBtn = nullptr;
}

void PressLogic::MouseUp() {
  FDragX = FDragY = kNoDrag;
  if (FPressedBtn == nullptr || !FPressTimer.Running()) return;
  FPressTimer.Stop();
  FKeyboard.ClearHot(false);
  const std::uint8_t pressed = FPressedBtn->Code;
  SendKeyAndShow(pressed, true);
  for (int vk = 1; vk <= 255; ++vk) {
    if (vk == pressed || !FLatched[vk] || !FKeyboard.IsKeyDown(vk)) continue;
    SendKeyAndShow(static_cast<std::uint16_t>(vk), true);
    FLatched[vk] = false;
  }
  FPressedBtn = nullptr;
  // An ordinary key's up look is only painted on the working image; without
  // this copy it would still show pressed until the pointer moves again,
  // and after a mouse leave until it comes back.
  FKeyboard.CopyToScreen();
}

void PressLogic::MouseMove(std::int32_t x, std::int32_t y) {
  if (!Dragging()) {
    FKeyboard.TrackPointer(x, y);
    FHost.ClearActiveControl();
    return;
  }
  const Point cursor = FHost.CursorPos();
  const Point before = FHost.WindowPos();
  FHost.SetWindowLeft(before.x + (cursor.x - FDragX));
  // Re-read: the horizontal move may itself have snapped the window vertically.
  FHost.SetWindowTop(FHost.WindowPos().y + (cursor.y - FDragY));
  const Point after = FHost.WindowPos();
  // An axis whose move was absorbed by snapping keeps its anchor, so the
  // pointer has to travel further before the window lets go of the edge.
  if (after.x != before.x) FDragX = cursor.x;
  if (after.y != before.y) FDragY = cursor.y;
}

void PressLogic::MouseLeave() {
  FKeyboard.ClearHot(true);
  MouseUp();
}

void PressLogic::ReleaseHeldKeys() {
  FPressTimer.Stop();
  FDragX = FDragY = kNoDrag;
  const int pressed = FPressedBtn != nullptr ? FPressedBtn->Code : 0;
  for (int vk = 1; vk <= 255; ++vk) {
    if (vk != pressed && !FLatched[vk]) continue;
    SendKeyAndShow(static_cast<std::uint16_t>(vk), true);
    FLatched[vk] = false;
  }
  FPressedBtn = nullptr;
}

}  // namespace luma
