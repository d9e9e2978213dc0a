// What a button does on the keys: presses, latched modifiers, the repeat of a
// held key, and dragging the window by the background. Fed explicit events by
// the input dispatch; time comes only from the press timer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "input/ModifierStep.h"
#include "keyboard/Key.h"
#include "keyboard/Keyboard.h"
#include "keys/VirtualKeys.h"
#include "platform/Sound.h"
#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

enum class MouseButton { Left, Right, Middle };

// What the press logic needs from the window.
class PressHost {
 public:
  virtual ~PressHost() = default;
  virtual Point CursorPos() = 0;  // GetCursorPos, screen pixels
  virtual Point WindowPos() = 0;  // the window's top left corner
  // One axis at a time, each through the snapping rules, which may move the
  // window on the other axis too.
  virtual void MoveWindowLeftTo(std::int32_t left) = 0;
  virtual void MoveWindowTopTo(std::int32_t top) = 0;
  virtual void UnfocusChildControls() = 0;
};

// Told of every key the keyboard types, just before its key-down is sent (a
// repeat's too), while the modifiers that shape it are still down.
class TypingListener {
 public:
  virtual ~TypingListener() = default;
  virtual void KeyTyped(int vk) = 0;
};

class PressLogic {
 public:
  PressLogic(Keyboard& keyboard, KeySender& sender, Timer& pressTimer, PressHost& host);

  // Positions are pixels of the key area, whose top left corner is 0, 0.
  void MouseDown(MouseButton button, std::int32_t x, std::int32_t y);
  // A left press on a background that is not the keys' moves the window too.
  void BackgroundDown(MouseButton button);
  void MouseMove(std::int32_t x, std::int32_t y);
  void MouseUp();
  // A move reported no button down: a release that went unseen (outside the
  // window, during a capture loss) ends the held key, the hold of a modifier
  // or the drag, as the release would have.
  void NoButtonDown();
  void MouseLeave();
  void PressTimerTick();
  // Key-ups for everything still held or latched, so that no key stays down
  // in the system after the window is gone.
  void ReleaseHeldKeys();
  // A press and release without a button (a hover click): an ordinary key
  // with the latched modifiers, which are then released; a modifier toggles.
  // Nothing happens while a button holds a key or drags the window.
  // secondPart: the second outline of a two-part key was chosen.
  void ClickKey(int vk, bool secondPart = false);
  // Something typed without a key (a word): the latched modifiers let go
  // as after a key; locked ones stay.
  void EndTypingWithoutKey();
  // None: nobody is told.
  void SetTypingListener(TypingListener* listener) { typingListener_ = listener; }
  // Asked to play at every press, never at a repeat step; none: silence.
  void SetClickSound(ClickSound* sound) { sound_ = sound; }

  // Whether a held key repeats (the menu calls it "Auto Click").
  void SetKeyRepeat(bool value) { keyRepeat_ = value; }
  bool KeyRepeat() const { return keyRepeat_; }
  bool Dragging() const { return dragAnchor_.has_value(); }
  // A button holds a key or a modifier, or drags the window: a click
  // without a button waits.
  bool Busy() const { return pressedKey_ != nullptr || HeldModifier() != 0 || Dragging(); }

 private:
  static constexpr std::uint32_t kPressDelayMs = 600;
  static constexpr std::uint32_t kRepeatIntervalMs = 20;
  static constexpr int kRightClickShift = kVkLeftShift;
  static constexpr int kMiddleClickCtrl = kVkLeftCtrl;

  // What a press of a key sends: decided at its key-down and kept for its
  // repeats and its key-up, whatever the pointer or Num Lock do meanwhile.
  struct SentForm {
    int code = 0;
    bool extended = false;
    friend bool operator==(const SentForm&, const SentForm&) = default;
  };

  void PressKey(int vk, MouseButton button);
  void PressStep();
  SentForm FormOf(int vk) const;
  // FormOf after following the system's toggles where the form hangs on them.
  SentForm FormNow(int vk);
  void SendAndShow(int vk, SentForm form, bool keyUp);
  void ReleasePressedKey();
  // Typing vk without a button (a hover click): a modifier toggles; another
  // key goes down and up at once, then the latched modifiers let go.
  void TypeKey(int vk);
  // The end of typing vk, by a button or without: its key-up, then the
  // latched modifiers let go.
  void EndTyping(int vk, SentForm form);
  // The modifier's step applied: its key event sent, its key shown as the
  // new state has it.
  void ApplyToModifier(int vk, ModifierEvent event);
  void ApplyToEveryModifier(ModifierEvent event);
  // The modifier a button holds down towards a lock; 0: none.
  int HeldModifier() const;
  // The held modifier's hold ends before the press delay: it stays latched.
  void EndHold();
  void Clicked();

  Keyboard& keyboard_;
  KeySender& sender_;
  Timer& pressTimer_;
  PressHost& host_;
  bool keyRepeat_ = true;
  Key* pressedKey_ = nullptr;
  SentForm pressedForm_;
  // By code; only the modifier keys' entries leave Up.
  std::array<ModifierState, 256> modifiers_{};
  ClickSound* sound_ = nullptr;
  TypingListener* typingListener_ = nullptr;
  // The pointer's screen position the drag moves the window from; none: no drag.
  std::optional<Point> dragAnchor_;
};

}  // namespace luma
