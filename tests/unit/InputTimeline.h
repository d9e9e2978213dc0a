// The input as the window feeds it, over fake timers: timelines of pointer
// events for the hover, press and dispatch tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Fakes.h"
#include "KeyboardHarness.h"
#include "input/InputDispatch.h"
#include "keyboard/KeyboardStart.h"
#include "settings/Options.h"

namespace luma::test {

// What the input asked of the window, in order.
struct RecordingWindow : PointerWindow {
  std::vector<std::string> calls;
  void CapturePointer() override { calls.push_back("capture"); }
  void ReleasePointer() override { calls.push_back("release"); }
  void WatchForLeave() override { calls.push_back("watch"); }
};

struct CountingSound : ClickSound {
  int plays = 0;
  void Play() override { ++plays; }
};

class InputTimeline : public ::testing::Test {
 public:
  using Events = std::vector<std::string>;

  // Inside keys of the built-in layout (design size 441 x 181).
  static constexpr Point kA{75, 105}, kB{215, 135}, kLeftShift{25, 135}, kLeftCtrl{20, 165};
  static constexpr Point kBackground{410, 165};
  static constexpr Point kOutside{-5, 105};  // left of A, seen only while the capture is held

  void SetUp() override {
    keyboard = StartKeyboard(KeyboardDeps{parts.bitmaps, parts.screen, parts.layouts, sender,
                                          parts.theme, parts.captions},
                             parts.theme, KeyboardStart(kUsEnglishHkl));
    ASSERT_NE(keyboard, nullptr);
    options.hoverClick = true;
    options.clickSound = true;
    input.ApplyOptions(options);
    input.Attach({*keyboard, sender, pressTimer, hoverTimer, host, window, &sound});
    pressTimer.onTick = [this] { input.PressTimerTick(); };
    hoverTimer.onTick = [this] { input.HoverTimerTick(); };
    sender.sent.clear();
  }

  void Move(Point p) {
    const bool inside =
        p.x >= 0 && p.y >= 0 && p.x < parts.screen.width && p.y < parts.screen.height;
    input.PointerMove(p.x, p.y, inside, buttonsDown);
  }
  void Down(Point p, MouseButton button = MouseButton::Left) {
    buttonsDown = true;
    input.PointerDown(button, p.x, p.y);
  }
  void Up(MouseButton button = MouseButton::Left) {
    buttonsDown = false;
    input.PointerUp(button);
  }
  void Click(Point p) { Down(p), Up(); }
  void Leave() { input.PointerLeave(); }
  // Both timers share one clock, a millisecond at a time.
  void Advance(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) pressTimer.Advance(1), hoverTimer.Advance(1);
  }
  std::uint32_t Now() const { return pressTimer.now; }
  Events Sent() {
    Events out;
    for (const auto& e : sender.sent)
      out.push_back(std::to_string(e.vk) + ((e.flags & kKeyEventKeyUp) ? " up" : " down"));
    sender.sent.clear();
    return out;
  }
  int Progress(int vk) const { return keyboard->KeyFor(vk)->HoverProgress(); }
  bool Locked(int vk) const { return keyboard->KeyFor(vk)->IsLocked(); }
  // One option changed as the menu does, the others kept.
  void Choose(const std::function<void(Options&)>& change) {
    change(options);
    input.ApplyOptions(options);
  }

  KeyboardParts parts;
  fakes::FakeTimer pressTimer, hoverTimer;
  Options options;
  fakes::TimedKeySender sender{pressTimer};
  fakes::FakePressHost host;
  RecordingWindow window;
  CountingSound sound;
  std::unique_ptr<Keyboard> keyboard;
  InputDispatch input;
  bool buttonsDown = false;  // what the next move reports
};

}  // namespace luma::test
