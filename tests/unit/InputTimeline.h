// The input as the window feeds it, over fake timers: timelines of pointer
// events for the hover, press and dispatch tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <sstream>
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
  // Steps separated by ';', each a verb with its place or time: "click A",
  // "down B right", "up middle", "move A", "leave", "wait 600", "lost" (the
  // capture), "end" (the press, as at a minimise), "pick 1" (item 1 of the
  // first row of items, with no pointer, as a switch), "key 65" (a click on
  // that key, with no pointer). Places: A, B, Shift, Ctrl,
  // Background, Outside and those a test adds to places.
  void Act(const std::string& steps) {
    std::istringstream in(steps);
    for (std::string step; std::getline(in, step, ';');) {
      std::istringstream words(step);
      std::string verb, where, button;
      words >> verb >> where >> button;
      const auto buttonOf = [](const std::string& name) {
        return name == "right"    ? MouseButton::Right
               : name == "middle" ? MouseButton::Middle
                                  : MouseButton::Left;
      };
      if (verb == "wait") Advance(static_cast<std::uint32_t>(std::stoul(where)));
      if (verb == "leave") Leave();
      if (verb == "lost") input.CaptureLost();
      if (verb == "end") input.EndPress();
      if (verb == "pick") input.Click(Target::Item(0, std::stoi(where)));
      if (verb == "key") input.Click(Target::Key(std::stoi(where)));
      if (verb == "up") Up(buttonOf(where));
      if (verb != "click" && verb != "down" && verb != "move") {
        const std::string others = " wait leave lost end pick key up  ";
        EXPECT_NE(others.find(" " + verb + " "), std::string::npos) << "no step " << step;
        continue;
      }
      const auto place = places.find(where);
      ASSERT_NE(place, places.end()) << where;
      if (verb == "move") Move(place->second);
      if (verb == "down") Down(place->second, buttonOf(button));
      if (verb == "click") Down(place->second, buttonOf(button)), Up(buttonOf(button));
    }
  }
  std::map<std::string, Point> places = {{"A", kA},
                                         {"B", kB},
                                         {"Shift", kLeftShift},
                                         {"Ctrl", kLeftCtrl},
                                         {"Background", kBackground},
                                         {"Outside", kOutside}};

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
