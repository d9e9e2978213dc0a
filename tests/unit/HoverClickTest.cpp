// Typing without clicking, as timelines of pointer events fed to the input
// over the fake timers: when a hover click fires, once per visit, what
// cancels it, and modifiers typed by hovering.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "InputTimeline.h"
#include "input/HoverClick.h"

namespace luma {
namespace {

class HoverClickTest : public test::InputTimeline {};

TEST_F(HoverClickTest, FiresAtExactlyTheHoverTimeWithTheProgressStepping) {
  for (std::uint32_t time : {500u, 750u, 1000u, 3000u, 333u}) {
    SCOPED_TRACE(time);
    Leave();
    sender.at.clear();
    Choose([&](Options& o) { o.hoverTimeMs = static_cast<std::int32_t>(time); });
    const std::uint32_t start = Now();
    Move(kA);
    for (std::uint32_t t = HoverClick::kStepMs; t < time; t += HoverClick::kStepMs) {
      const int before = Progress(65);
      Advance(HoverClick::kStepMs - 1);
      EXPECT_EQ(Progress(65), before);
      Advance(1);
      EXPECT_EQ(Progress(65), static_cast<int>(t * 1000 / time)) << t;
    }
    Advance(start + time - Now() - 1);
    EXPECT_TRUE(Sent().empty()) << "fired early";
    Advance(1);
    EXPECT_EQ(Sent(), (Events{"65 down", "65 up"}));
    EXPECT_EQ(sender.at, (std::vector<std::uint32_t>{start + time, start + time}));
    EXPECT_EQ(Progress(65), 0);
  }
}

TEST_F(HoverClickTest, OncePerVisitStartingAgainOnAnotherKey) {
  Move(kA);
  Advance(3000);
  Move({kA.x + 3, kA.y});  // still resting on the key
  Advance(3000);
  EXPECT_EQ(Sent(), (Events{"65 down", "65 up"}));
  EXPECT_FALSE(hoverTimer.Running()) << "no wakeups while resting after the click";
  Move(kBackground);
  Move(kA);
  Advance(600);
  Move(kB);
  EXPECT_EQ(Progress(65), 0);
  Advance(999);
  EXPECT_TRUE(Sent().empty());
  Advance(1);
  Move(kA);
  Advance(1000);
  EXPECT_EQ(Sent(), (Events{"66 down", "66 up", "65 down", "65 up"}));
}

TEST_F(HoverClickTest, LeavingTheKeysAButtonADragOrSwitchingOffCancels) {
  Choose([](Options& o) { o.keyRepeat = false; });
  const struct {
    const char* what;
    std::function<void(HoverClickTest&)> act;
    Events expected;
  } rows[] = {
      {"leave", [](HoverClickTest& t) { t.Leave(); }, {}},
      {"background", [](HoverClickTest& t) { t.Move(kBackground); }, {}},
      {"off", [](HoverClickTest& t) { t.Choose([](Options& o) { o.hoverClick = false; }); }, {}},
      {"click", [](HoverClickTest& t) { t.Click(kA); }, {"65 down", "65 up"}},
      {"held on another key",
       [](HoverClickTest& t) {
         t.Down(kB, MouseButton::Right);
         t.Move(kB);  // the button still down
         t.Advance(2000);
         t.Up(MouseButton::Right);
       },
       {"160 down", "66 down", "66 up", "160 up"}},
      {"drag",
       [](HoverClickTest& t) {
         t.Down(kBackground);
         t.Move(kB);
         t.Advance(2000);
         t.Up();
       },
       {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Leave();
    Choose([](Options& o) { o.hoverClick = true; });
    Move(kA);
    Advance(500);
    r.act(*this);
    EXPECT_EQ(Progress(65), 0);
    Advance(3000);
    EXPECT_EQ(Sent(), r.expected);
    EXPECT_FALSE(hoverTimer.Running());
  }
  Choose([](Options& o) { o.hoverClick = false; });
  hoverTimer.starts.clear();
  Leave();
  Move(kA);
  EXPECT_TRUE(hoverTimer.starts.empty()) << "off, no timer runs";
}

TEST_F(HoverClickTest, ModifiersToggleAndALatchedShiftTypesOneCapital) {
  Move(kLeftShift);
  Advance(1000);
  Move(kB);
  Advance(1000);
  Move(kLeftCtrl);
  Advance(1000);
  Move(kBackground);
  Move(kLeftCtrl);
  Advance(1000);
  EXPECT_EQ(Sent(), (Events{"160 down", "66 down", "66 up", "160 up", "162 down", "162 up"}));
}

}  // namespace
}  // namespace luma
