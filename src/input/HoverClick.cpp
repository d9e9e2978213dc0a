#include "input/HoverClick.h"

#include <algorithm>

namespace luma {

HoverClick::HoverClick(Keyboard& keyboard, PressLogic& press, Timer& timer)
    : keyboard_(keyboard), press_(press), timer_(timer) {}

void HoverClick::SetEnabled(bool on) {
  enabled_ = on;
  if (!on)
    Cancel();
  else if (key_ != 0 && !spent_ && !buttonDown_ && !timer_.Running())
    Start();
}

void HoverClick::SetHoverTime(std::uint32_t ms) { hoverTimeMs_ = std::max<std::uint32_t>(ms, 1); }

void HoverClick::PointerMoved(bool buttonsDown) {
  if (buttonsDown != buttonDown_) buttonsDown ? ButtonDown() : ButtonUp();
  const Key* hover = keyboard_.HoverKey();
  const int vk = hover != nullptr && !press_.Dragging() ? hover->Code() : 0;
  if (vk == key_) return;
  Cancel();
  key_ = vk;
  spent_ = false;
  if (key_ != 0 && enabled_ && !buttonDown_) Start();
}

void HoverClick::ButtonDown() {
  Cancel();
  buttonDown_ = true;
  spent_ = true;
}

void HoverClick::ButtonUp() {
  buttonDown_ = false;
  spent_ = true;
}

void HoverClick::Leave() {
  Cancel();
  key_ = 0;
  spent_ = false;
}

void HoverClick::TimerTick() {
  const Key* hover = keyboard_.HoverKey();
  // The hover key can go without a move: a leave, a new layout.
  if (!enabled_ || key_ == 0 || hover == nullptr || hover->Code() != key_) {
    Cancel();
    return;
  }
  elapsedMs_ += stepMs_;
  if (elapsedMs_ < hoverTimeMs_) {
    ShowProgress(static_cast<int>(std::uint64_t{elapsedMs_} * 1000 / hoverTimeMs_));
    Arm();
    return;
  }
  const int vk = key_;
  Cancel();
  spent_ = true;
  press_.ClickKey(vk);
}

void HoverClick::Start() {
  elapsedMs_ = 0;
  Arm();
}

void HoverClick::Arm() {
  stepMs_ = std::min(kStepMs, hoverTimeMs_ - elapsedMs_);
  timer_.Start(stepMs_);
}

void HoverClick::Cancel() {
  timer_.Stop();
  elapsedMs_ = 0;
  ShowProgress(0);
}

void HoverClick::ShowProgress(int permille) {
  Key* key = keyboard_.KeyFor(key_);
  if (key == nullptr || key->HoverProgress() == permille) return;
  key->SetHoverProgress(permille);
  keyboard_.Picture().CopyChanges();
}

}  // namespace luma
