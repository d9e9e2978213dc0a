// Where the input of the keyboard window meets press and hover: what each
// point of the client area holds (the keys, or an item of an item area), the
// order in which each pointer event reaches press and hover, their timer
// ticks, and the options that steer them. The window system only turns its
// messages into these calls.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "input/HoverClick.h"
#include "input/PressLogic.h"
#include "input/Target.h"
#include "keyboard/Keyboard.h"
#include "platform/Sound.h"
#include "platform/System.h"
#include "settings/Options.h"

namespace luma {

// What the input asks of the window the pointer moves over.
class PointerWindow {
 public:
  virtual ~PointerWindow() = default;
  // The moves keep coming while the button is down, also outside the window.
  virtual void CapturePointer() = 0;
  // Lets go of the capture, when this window holds it.
  virtual void ReleasePointer() = 0;
  // One notice when the pointer leaves the window.
  virtual void WatchForLeave() = 0;
};

// What the input drives; all of it outlives the input.
struct InputParts {
  Keyboard& keyboard;
  KeySender& sender;
  Timer& pressTimer;
  Timer& hoverTimer;
  PressHost& pressHost;
  PointerWindow& window;
  ClickSound* sound = nullptr;  // none: silence, whatever the options say
};

class InputDispatch final : public TargetClicks, private HoverTargets {
 public:
  // Until then events are ignored and the options only kept: a keyboard that
  // could not be made must not cost the user's choices.
  void Attach(const InputParts& parts);
  bool Attached() const { return press_ != nullptr; }
  // Where the keys' area starts in the client area; 0, 0 until set.
  void SetKeyOrigin(Point origin) { keyOrigin_ = origin; }
  // Another part of the client area with items to click, outliving the
  // input; asked before the keys. Its targets carry its place in this order.
  void AddItemArea(ItemArea& area) { areas_.push_back(&area); }

  // Told of each key typed, also before Attach; none: nobody.
  void SetTypingListener(TypingListener* listener);
  // After something typed without a key: the latched modifiers let go.
  void EndTypingWithoutKey();

  // What a point of the client area holds; none off every target.
  Target TargetAt(std::int32_t x, std::int32_t y) const;
  // The one way every input clicks a target: a key is typed with the latched
  // modifiers, which then let go (a modifier toggles); an item is chosen.
  // Nothing happens while a button holds a key or drags the window.
  void Click(const Target& target) override;

  // The pointer, in client pixels. A press on an item chooses it, whichever
  // the button.
  void PointerDown(MouseButton button, std::int32_t x, std::int32_t y);
  void PointerUp(MouseButton button);
  // inside: within the client area, which a move leaves only while the
  // capture is held. buttonsDown: whether the move reports any button down.
  void PointerMove(std::int32_t x, std::int32_t y, bool inside, bool buttonsDown);
  // The pointer left the window, or a loop of the system's holds it now.
  void PointerLeave();
  // Another window took the capture: the press ends as at a button up.
  void CaptureLost();
  // Nobody sees the keyboard (minimised): a held key is let go as at a
  // button up, its repeat stops with it, and latched or locked keys go up.
  void EndPress();
  // Key-ups for every key still held or latched.
  void ReleaseHeldKeys();
  bool Dragging() const { return press_ != nullptr && press_->Dragging(); }

  void PressTimerTick();
  void HoverTimerTick();

  // Key repeat, hover click and its time, the click sound; the keyboard
  // choice is not the input's. A hover running goes on with its own time.
  void ApplyOptions(const Options& options);

 private:
  Target Hovered() const override;
  void ShowProgress(const Target& target, int permille) override;
  // The item area a point lies in, by its place; -1: none.
  int AreaAt(Point p) const;
  // In an item area: its item there, or none on its background; nothing
  // outside every item area.
  std::optional<Target> ItemTargetAt(Point p) const;
  // Tells each item area which of its items is under the pointer.
  void ShowHotItem(Point p);
  void PlayClick();
  void EnterWindow();
  // Hands the options to press and hover; switchHover: also whether hover is on.
  void Steer(bool switchHover);

  PointerWindow* window_ = nullptr;
  Keyboard* keyboard_ = nullptr;
  std::vector<ItemArea*> areas_;
  Point keyOrigin_;
  Point pointer_{-1, -1};  // the last position seen inside the window
  std::unique_ptr<PressLogic> press_;
  std::unique_ptr<HoverClick> hover_;
  // The pointer entered and no leave came since: the leave notice is asked for.
  bool inside_ = false;
  Options options_;
  ClickSound* sound_ = nullptr;
  TypingListener* typingListener_ = nullptr;
};

}  // namespace luma
