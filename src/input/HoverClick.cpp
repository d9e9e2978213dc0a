#include "input/HoverClick.h"

#include <algorithm>

namespace luma {

namespace {
bool IsNone(const Target& t) { return t.kind == Target::Kind::None; }
}  // namespace

HoverClick::HoverClick(HoverTargets& targets, Timer& timer) : targets_(targets), timer_(timer) {}

void HoverClick::SetEnabled(bool on) {
  enabled_ = on;
  if (!on)
    Cancel();
  else if (!IsNone(target_) && !spent_ && !buttonDown_ && !timer_.Running())
    Start();
}

void HoverClick::SetHoverTime(std::uint32_t ms) { hoverTimeMs_ = std::max<std::uint32_t>(ms, 1); }

void HoverClick::PointerMoved(bool buttonsDown) {
  if (buttonsDown != buttonDown_) buttonsDown ? ButtonDown() : ButtonUp();
  const Target hovered = targets_.Hovered();
  if (hovered == target_) return;
  Cancel();
  target_ = hovered;
  spent_ = false;
  if (!IsNone(target_) && enabled_ && !buttonDown_) Start();
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
  target_ = {};
  spent_ = false;
}

void HoverClick::TimerTick() {
  // The target can go without a move: a leave, a new layout, a row redrawn.
  if (!enabled_ || IsNone(target_) || !(targets_.Hovered() == target_)) {
    Cancel();
    return;
  }
  elapsedMs_ += stepMs_;
  if (elapsedMs_ < hoverTimeMs_) {
    ShowProgress(static_cast<int>(std::uint64_t{elapsedMs_} * 1000 / hoverTimeMs_));
    Arm();
    return;
  }
  const Target clicked = target_;
  Cancel();
  spent_ = true;
  targets_.Click(clicked);
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
  if (!IsNone(target_)) targets_.ShowProgress(target_, permille);
}

}  // namespace luma
