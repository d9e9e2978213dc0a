// Typing without clicking, as timelines of pointer events fed to the input
// over the fake timers: hover clicks, modifiers locked by a hold, the marks a
// key draws, the click sound, and the order the input keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Fakes.h"
#include "KeyboardHarness.h"
#include "input/HoverClick.h"
#include "input/InputDispatch.h"
#include "keyboard/KeyboardStart.h"

namespace luma {
namespace {

struct NoHost : PressHost {
  Point CursorPos() override { return {}; }
  Point WindowPos() override { return {}; }
  void SetWindowLeft(std::int32_t) override {}
  void SetWindowTop(std::int32_t) override {}
  void UnfocusChildControls() override {}
};

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

// Stamps each event with the clock both timers share.
struct ClockedSender : fakes::FakeKeySender {
  std::uint32_t now = 0;
  std::vector<std::uint32_t> at;
  void Send(const KeyEvent& e) override {
    FakeKeySender::Send(e);
    at.push_back(now);
  }
};

// Inside keys of the built-in layout (design size 441 x 181).
constexpr Point kA{75, 105}, kB{215, 135}, kLeftShift{25, 135}, kLeftCtrl{20, 165};
constexpr Point kBackground{410, 165};
constexpr Point kOutside{-5, 105};  // left of A, seen only while the capture is held

using Events = std::vector<std::string>;

// The input as the window feeds it, over fake timers.
class HoverClickTest : public ::testing::Test {
 public:
  void SetUp() override {
    keyboard = StartKeyboard(KeyboardDeps{parts.bitmaps, parts.screen, parts.layouts, sender,
                                          parts.busy, parts.theme, parts.captions},
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
  void Advance(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i, pressTimer.Advance(1), hoverTimer.Advance(1))
      ++sender.now;
  }
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

  test::KeyboardParts parts;
  ClockedSender sender;
  fakes::FakeTimer pressTimer, hoverTimer;
  NoHost host;
  RecordingWindow window;
  CountingSound sound;
  std::unique_ptr<Keyboard> keyboard;
  Options options;
  InputDispatch input;
  bool buttonsDown = false;  // what the next move reports
};

TEST_F(HoverClickTest, FiresAtExactlyTheHoverTimeWithTheProgressStepping) {
  for (std::uint32_t time : {500u, 750u, 1000u, 3000u, 333u}) {
    SCOPED_TRACE(time);
    Leave();
    sender.at.clear();
    Choose([&](Options& o) { o.hoverTimeMs = static_cast<std::int32_t>(time); });
    const std::uint32_t start = sender.now;
    Move(kA);
    for (std::uint32_t t = HoverClick::kStepMs; t < time; t += HoverClick::kStepMs) {
      const int before = Progress(65);
      Advance(HoverClick::kStepMs - 1);
      EXPECT_EQ(Progress(65), before);
      Advance(1);
      EXPECT_EQ(Progress(65), static_cast<int>(t * 1000 / time)) << t;
    }
    Advance(start + time - sender.now - 1);
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

// The release of a button can happen where the window never hears of it;
// the next move with no button down ends the press, and hovering types again.
TEST_F(HoverClickTest, AMoveWithNoButtonDownEndsAPressWhoseReleaseWentUnseen) {
  const struct {
    const char* what;
    std::function<void(HoverClickTest&)> press;
    Events expected;
  } rows[] = {
      {"right press, released outside",
       [](HoverClickTest& t) {
         t.Down(kB, MouseButton::Right);
         t.Leave();
       },
       {"160 down", "66 down", "66 up", "160 up", "65 down", "65 up"}},
      {"middle press, neither release nor leave seen",
       [](HoverClickTest& t) {
         t.Down(kB, MouseButton::Middle);
         t.Advance(100);
       },
       {"162 down", "66 down", "66 up", "162 up", "65 down", "65 up"}},
      {"drag, capture lost unseen",
       [](HoverClickTest& t) { t.Down(kBackground); },
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

TEST_F(HoverClickTest, AHoldOfThePressDelayLocksUntilAClickOrTheClose) {
  for (const std::uint32_t hold : {599u, 600u}) {
    SCOPED_TRACE(hold);
    Down(kLeftShift);
    Advance(hold);
    Up();
    EXPECT_EQ(Locked(160), hold == 600);
    Click(kA);
    Move(kB);  // by hover
    Advance(1000);
    Leave();
    if (hold == 600) {
      EXPECT_EQ(Sent(), (Events{"160 down", "65 down", "65 up", "66 down", "66 up"}));
      Click(kLeftShift);
      EXPECT_EQ(Sent(), (Events{"160 up"}));
      EXPECT_FALSE(Locked(160));
    } else {
      EXPECT_EQ(Sent(), (Events{"160 down", "65 down", "65 up", "160 up", "66 down", "66 up"}));
    }
  }
  for (const Point p : {kLeftShift, kLeftCtrl}) Down(p), Advance(600), Up();
  input.ReleaseHeldKeys();
  EXPECT_EQ(Sent(), (Events{"160 down", "162 down", "160 up", "162 up"}));
  EXPECT_FALSE(Locked(160) || Locked(162));
  input.ReleaseHeldKeys();
  EXPECT_TRUE(Sent().empty());
}

// A bar across a locked key; along a hovered one, a bar that grows.
TEST_F(HoverClickTest, LockedAndHoveredKeysDrawTheirMarksInsideThem) {
  fakes::RecordingBitmap& work = *parts.bitmaps.created.at(1);
  const auto lastFill = [&] {
    const auto fills = work.Of(fakes::DrawCall::kFillRect);
    return fills.empty() ? fakes::DrawCall{} : fills.back();
  };
  const auto inside = [&](int vk, const Rect& r) {
    const auto& p = keyboard->KeyFor(vk)->Points();  // bottom-left, ..., top-left
    return r.Width() > 0 && r.Height() > 0 && r.left >= p[0].x && r.right <= p[1].x &&
           r.top >= p[2].y && r.bottom <= p[0].y;
  };
  Down(kLeftShift);
  Advance(599);
  EXPECT_EQ(work.Count(fakes::DrawCall::kFillRect), 0u) << "a latched key has no bar";
  Advance(1);
  EXPECT_TRUE(inside(160, lastFill().rect));
  EXPECT_EQ(lastFill().brush, parts.theme.DownCaption);
  Up();
  std::vector<std::int32_t> widths;
  Move(kA);
  for (int step = 0; step < 9; ++step) {
    Advance(HoverClick::kStepMs);
    EXPECT_TRUE(inside(65, lastFill().rect)) << step;
    widths.push_back(lastFill().rect.Width());
  }
  EXPECT_TRUE(std::is_sorted(widths.begin(), widths.end()));
  EXPECT_LT(widths.front() * 5, widths.back());
}

TEST_F(HoverClickTest, TheSoundIsAskedForOncePerPressNeverPerRepeat) {
  Click(kA);
  Down(kB, MouseButton::Right);  // Shift comes with it
  Advance(1000);                 // and 21 repeats
  Up(MouseButton::Right);
  Click(kLeftShift);
  Click(kLeftShift);
  Move(kA);
  Advance(1000);
  Click(kBackground);
  EXPECT_GT(Sent().size(), 25u);
  EXPECT_EQ(sound.plays, 5);

  // Switched off, no press asks for it; on again, the next does.
  Choose([](Options& o) { o.clickSound = false; });
  Click(kA);
  Move(kB);
  Advance(1000);
  EXPECT_EQ(sound.plays, 5);
  Choose([](Options& o) { o.clickSound = true; });
  Click(kA);
  EXPECT_EQ(sound.plays, 6);
}

// The order in which a pointer event reaches press and hover, and what the
// window is asked for on the way.
class InputDispatchTest : public HoverClickTest {};

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
