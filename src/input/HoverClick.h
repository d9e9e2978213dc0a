// Clicking by resting the pointer: after the hover time the target under the
// pointer is clicked, through the same path as a button's click. Its own
// timer runs only while a hover does, stepping the progress the target shows.
#pragma once

#include <cstdint>

#include "input/Target.h"
#include "platform/System.h"

namespace luma {

// What the hover follows and clicks.
class HoverTargets {
 public:
  virtual ~HoverTargets() = default;
  // What the pointer rests on now; none while the window is dragged.
  virtual Target Hovered() const = 0;
  virtual void Click(const Target& target) = 0;
  // Shows the hover's progress, per mille; drawn only when it changes.
  virtual void ShowProgress(const Target& target, int permille) = 0;
};

class HoverClick {
 public:
  // The progress mark grows at this pace; the last step is what remains.
  static constexpr std::uint32_t kStepMs = 100;

  HoverClick(HoverTargets& targets, Timer& timer);

  // Off: a hover in progress ends and none starts.
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  // Applies from the next hover; 0 counts as 1 ms.
  void SetHoverTime(std::uint32_t ms);
  std::uint32_t HoverTime() const { return hoverTimeMs_; }

  // After each pointer move the press logic has seen: follows the hovered
  // target, starting again on another and ending off every target.
  // buttonsDown: whether the move reported any mouse button down. A release
  // can happen where this window never hears of it (outside it, during a
  // capture loss); a move with no button down ends the held state all the same.
  void PointerMoved(bool buttonsDown);
  // A button ends the hover and none starts while one is held; the target
  // under the pointer counts as clicked.
  void ButtonDown();
  void ButtonUp();
  // The pointer left the window (or went onto the slider).
  void Leave();
  void TimerTick();

 private:
  void Start();
  void Cancel();
  void Arm();
  void ShowProgress(int permille);

  HoverTargets& targets_;
  Timer& timer_;
  bool enabled_ = false;
  std::uint32_t hoverTimeMs_ = 1;  // set by the input before any hover
  Target target_;                  // under the pointer
  // target_ was clicked already: it fires again only once the pointer has left it.
  bool spent_ = false;
  bool buttonDown_ = false;
  std::uint32_t elapsedMs_ = 0;
  std::uint32_t stepMs_ = 0;  // the interval the timer runs
};

}  // namespace luma
