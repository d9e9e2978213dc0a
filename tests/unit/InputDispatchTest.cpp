// The order in which a pointer event reaches press and hover, and what the
// window is asked for on the way; the options kept without a keyboard.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "InputTimeline.h"
#include "input/InputDispatch.h"

namespace luma {
namespace {

class InputDispatchTest : public test::InputTimeline {};

// The release of a button can happen where the window never hears of it;
// the next move with no button down ends the press, and hovering types again.
TEST_F(InputDispatchTest, AMoveWithNoButtonDownEndsAPressWhoseReleaseWentUnseen) {
  const struct {
    const char* what;
    std::function<void(InputDispatchTest&)> press;
    Events expected;
  } rows[] = {
      {"right press, released outside",
       [](InputDispatchTest& t) {
         t.Down(kB, MouseButton::Right);
         t.Leave();
       },
       {"160 down", "66 down", "66 up", "160 up", "65 down", "65 up"}},
      {"middle press, neither release nor leave seen",
       [](InputDispatchTest& t) {
         t.Down(kB, MouseButton::Middle);
         t.Advance(100);
       },
       {"162 down", "66 down", "66 up", "162 up", "65 down", "65 up"}},
      {"drag, capture lost unseen",
       [](InputDispatchTest& t) { t.Down(kBackground); },
       {"65 down", "65 up"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Leave();
    r.press(*this);
    buttonsDown = false;  // released without a word
    Move(kA);
    EXPECT_FALSE(input.Dragging());
    Advance(1000);
    EXPECT_EQ(Sent(), r.expected);
  }
}

TEST_F(InputDispatchTest, PointerEventsReachPressAndHoverInTheWindowsOrder) {
  using Calls = std::vector<std::string>;
  const struct {
    const char* what;
    std::function<void(InputDispatchTest&)> act;
    Events sent;
    Calls window;
    bool dragging;
  } rows[] = {
      {"left press: the capture while it lasts",
       [](InputDispatchTest& t) { t.Click(kA); },
       {"65 down", "65 up"},
       {"capture", "watch", "release"},
       false},
      {"right press: no capture",
       [](InputDispatchTest& t) {
         t.Down(kA, MouseButton::Right);
         t.Up(MouseButton::Right);
       },
       {"160 down", "65 down", "65 up", "160 up"},
       {"watch"},
       false},
      {"one leave notice per entry",
       [](InputDispatchTest& t) {
         t.Move(kA);
         t.Move(kB);
         t.Leave();
         t.Move(kA);
       },
       {},
       {"watch", "watch"},
       false},
      {"a held key moved out under the capture is let go as at a leave",
       [](InputDispatchTest& t) {
         t.Down(kA);
         t.Move(kOutside);
         t.Up();
         t.Move(kA);
       },
       {"65 down", "65 up"},
       {"capture", "watch", "release", "watch"},
       false},
      {"a drag goes on outside and through a leave notice",
       [](InputDispatchTest& t) {
         t.Down(kBackground);
         t.Move(kOutside);
         t.Leave();
       },
       {},
       {"capture", "watch"},
       true},
      {"a lost capture ends a held key",
       [](InputDispatchTest& t) {
         t.Down(kA);
         t.input.CaptureLost();
       },
       {"65 down", "65 up"},
       {"capture", "watch"},
       false},
      {"a lost capture ends a drag",
       [](InputDispatchTest& t) {
         t.Down(kBackground);
         t.input.CaptureLost();
       },
       {},
       {"capture", "watch"},
       false},
      {"a minimise lets go of a held key and a locked Shift",
       [](InputDispatchTest& t) {
         t.Down(kLeftShift);
         t.Advance(600);
         t.Up();
         t.Down(kA);
         t.input.EndPress();
       },
       {"160 down", "65 down", "65 up", "160 up"},
       {"capture", "watch", "release", "capture", "release"},
       false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    input.ReleaseHeldKeys();
    Leave();
    buttonsDown = false;
    Sent();
    window.calls.clear();
    r.act(*this);
    EXPECT_EQ(Sent(), r.sent);
    EXPECT_EQ(window.calls, r.window);
    EXPECT_EQ(input.Dragging(), r.dragging);
  }
}

// A keyboard that could not be made must not cost the user's choices; the
// ones made before the keyboard are what it starts with.
TEST_F(InputDispatchTest, TheOptionsAreKeptWithoutAKeyboardAndAppliedToIt) {
  InputDispatch later;
  Options chosen;
  chosen.keyRepeat = false;
  chosen.hoverClick = true;
  chosen.hoverTimeMs = 500;
  later.ApplyOptions(chosen);
  later.PointerDown(MouseButton::Left, kA.x, kA.y);
  later.PointerMove(kBackground.x, kBackground.y, true, true);
  later.PointerLeave();
  later.CaptureLost();
  later.EndPress();
  later.PressTimerTick();
  later.HoverTimerTick();
  EXPECT_FALSE(later.Dragging());
  EXPECT_TRUE(window.calls.empty());

  input.ReleaseHeldKeys();
  later.Attach({*keyboard, sender, pressTimer, hoverTimer, host, window, &sound});
  pressTimer.onTick = [&] { later.PressTimerTick(); };
  hoverTimer.onTick = [&] { later.HoverTimerTick(); };
  later.PointerMove(kA.x, kA.y, true, false);
  Advance(500);
  later.PointerDown(MouseButton::Left, kB.x, kB.y);
  Advance(1000);
  later.PointerUp(MouseButton::Left);
  EXPECT_EQ(Sent(), (Events{"65 down", "65 up", "66 down", "66 up"})) << "held, no repeat";
}

}  // namespace
}  // namespace luma
