// Typing without clicking: hover clicks over the fake timers, modifiers
// locked by a hold, and the click sound per press.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Fakes.h"
#include "KeyboardHarness.h"
#include "input/HoverClick.h"
#include "input/PressLogic.h"
#include "keyboard/KeyboardStart.h"

namespace luma {
namespace {

class NoHost : public PressHost {
 public:
  Point CursorPos() override { return {}; }
  Point WindowPos() override { return {}; }
  void SetWindowLeft(std::int32_t) override {}
  void SetWindowTop(std::int32_t) override {}
  void UnfocusChildControls() override {}
};

class CountingSound : public ClickSound {
 public:
  int plays = 0;
  void Play() override { ++plays; }
};

// One clock for both timers: each event is stamped with its time.
class ClockedSender : public fakes::FakeKeySender {
 public:
  explicit ClockedSender(const std::uint32_t& now) : now_(now) {}
  std::vector<std::uint32_t> at;
  void Send(const KeyEvent& e) override {
    FakeKeySender::Send(e);
    at.push_back(now_);
  }

 private:
  const std::uint32_t& now_;
};

// Points inside keys of the built-in layout (design size 441 x 181).
constexpr Point kKeyA{75, 105};
constexpr Point kKeyB{215, 135};
constexpr Point kLeftShift{25, 135};
constexpr Point kLeftCtrl{20, 165};
constexpr Point kBackground{410, 165};

using Events = std::vector<std::string>;

class HoverClickTest : public ::testing::Test {
 public:
  void SetUp() override {
    keyboard = StartKeyboard(KeyboardDeps{parts.bitmaps, parts.screen, parts.layouts, sender,
                                          parts.busy, parts.theme, parts.captions},
                             parts.theme, KeyboardStart(kUsEnglishHkl));
    ASSERT_NE(keyboard, nullptr);
    press = std::make_unique<PressLogic>(*keyboard, sender, pressTimer, host);
    press->SetClickSound(&sound);
    hover = std::make_unique<HoverClick>(*keyboard, *press, hoverTimer);
    hover->SetEnabled(true);
    pressTimer.onTick = [this] { press->PressTimerTick(); };
    hoverTimer.onTick = [this] { hover->TimerTick(); };
    sender.sent.clear();
  }

  // The pointer input's order: the press logic, then the hover.
  void Move(Point p) {
    press->MouseMove(p.x, p.y);
    hover->PointerMoved();
  }
  void Down(Point p, MouseButton button = MouseButton::Left) {
    hover->ButtonDown();
    press->MouseDown(button, p.x, p.y);
  }
  void Up() {
    press->MouseUp();
    hover->ButtonUp();
  }
  void Click(Point p) {
    Down(p);
    Up();
  }
  void Leave() {
    press->MouseLeave();
    hover->Leave();
  }
  // Both timers in step, a millisecond at a time.
  void Advance(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
      ++now;
      pressTimer.Advance(1);
      hoverTimer.Advance(1);
    }
  }
  Events Sent() const {
    Events out;
    for (const auto& e : sender.sent)
      out.push_back(std::to_string(e.vk) + ((e.flags & kKeyEventKeyUp) ? " up" : " down"));
    return out;
  }
  int Progress(int vk) const { return keyboard->KeyFor(vk)->HoverProgress(); }
  bool NothingHeld() {
    const std::size_t before = sender.sent.size();
    press->ReleaseHeldKeys();
    return sender.sent.size() == before;
  }

  test::KeyboardParts parts;
  std::uint32_t now = 0;
  ClockedSender sender{now};
  fakes::FakeTimer pressTimer, hoverTimer;
  NoHost host;
  CountingSound sound;
  std::unique_ptr<Keyboard> keyboard;
  std::unique_ptr<PressLogic> press;
  std::unique_ptr<HoverClick> hover;
};

TEST_F(HoverClickTest, FiresAtExactlyTheHoverTimeWithTheProgressFillingUp) {
  for (std::uint32_t time : {500u, 750u, 1000u, 3000u, 333u}) {
    SCOPED_TRACE(time);
    Leave();
    sender.sent.clear();
    sender.at.clear();
    hover->SetHoverTime(time);
    const std::uint32_t start = now;
    Move(kKeyA);
    int last = 0;
    for (std::uint32_t t = HoverClick::kStepMs; t < time; t += HoverClick::kStepMs) {
      Advance(HoverClick::kStepMs - 1);
      EXPECT_EQ(Progress(65), last);
      Advance(1);
      EXPECT_EQ(Progress(65), static_cast<int>(t * 1000 / time)) << t;
      last = Progress(65);
    }
    Advance(time - (now - start) - 1);
    EXPECT_TRUE(sender.sent.empty()) << "fired before the hover time";
    Advance(1);
    EXPECT_EQ(Sent(), (Events{"65 down", "65 up"}));
    EXPECT_EQ(sender.at, (std::vector<std::uint32_t>{start + time, start + time}));
    EXPECT_EQ(Progress(65), 0);
    EXPECT_FALSE(hoverTimer.Running());
  }
}

TEST_F(HoverClickTest, FiresAgainOnlyAfterThePointerLeftTheKeyAndCameBack) {
  Move(kKeyA);
  Advance(3000);
  EXPECT_EQ(Sent(), (Events{"65 down", "65 up"}));
  EXPECT_FALSE(hoverTimer.Running()) << "no wakeups while resting after the click";
  Move({kKeyA.x + 3, kKeyA.y});  // moving within the key is still resting on it
  Advance(3000);
  EXPECT_EQ(Sent().size(), 2u);
  for (const Point away : {kBackground, kKeyB}) {
    sender.sent.clear();
    Move(away);
    Move(kKeyA);
    Advance(1000);
    EXPECT_EQ(Sent(), (Events{"65 down", "65 up"})) << away.x;
  }
}

TEST_F(HoverClickTest, AnotherKeyStartsAgainThere) {
  Move(kKeyA);
  Advance(600);
  Move(kKeyB);
  EXPECT_EQ(Progress(65), 0);
  Advance(999);
  EXPECT_TRUE(sender.sent.empty());
  Advance(1);
  EXPECT_EQ(Sent(), (Events{"66 down", "66 up"}));
}

TEST_F(HoverClickTest, LeavingTheKeysAButtonOrSwitchingOffCancels) {
  const struct {
    const char* what;
    std::function<void(HoverClickTest&)> act;
    Events expected;
  } rows[] = {
      {"leave", [](HoverClickTest& t) { t.Leave(); }, {}},
      {"background", [](HoverClickTest& t) { t.Move(kBackground); }, {}},
      {"off", [](HoverClickTest& t) { t.hover->SetEnabled(false); }, {}},
      {"click", [](HoverClickTest& t) { t.Click(kKeyA); }, {"65 down", "65 up"}},
      {"right click",
       [](HoverClickTest& t) {
         t.Down(kKeyB, MouseButton::Right);
         t.Up();
       },
       {"160 down", "66 down", "66 up", "160 up"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Leave();
    hover->SetEnabled(true);
    sender.sent.clear();
    Move(kKeyA);
    Advance(500);
    r.act(*this);
    EXPECT_EQ(Progress(65), 0);
    Advance(3000);
    EXPECT_EQ(Sent(), r.expected);
    EXPECT_FALSE(hoverTimer.Running());
  }
}

TEST_F(HoverClickTest, NothingHoversWhileAButtonIsHeldOrTheWindowDragged) {
  press->SetAutoClick(false);
  Down(kKeyB);
  Move(kKeyA);  // the capture keeps the moves coming while B is held
  Advance(2000);
  Up();
  Advance(2000);
  EXPECT_EQ(Sent(), (Events{"66 down", "66 up"}));

  sender.sent.clear();
  Down(kBackground);
  ASSERT_TRUE(press->Dragging());
  Move(kKeyB);
  Advance(2000);
  Up();
  EXPECT_TRUE(sender.sent.empty());
  EXPECT_FALSE(hoverTimer.Running());
}

TEST_F(HoverClickTest, OffItNeverRunsATimer) {
  hover->SetEnabled(false);
  Move(kKeyA);
  Move(kKeyB);
  EXPECT_FALSE(hoverTimer.Running());
  EXPECT_TRUE(hoverTimer.starts.empty());
}

TEST_F(HoverClickTest, ModifiersToggleAndALatchedShiftTypesOneCapital) {
  Move(kLeftShift);
  Advance(1000);
  EXPECT_TRUE(keyboard->IsKeyDown(160));
  Move(kKeyB);
  Advance(1000);
  EXPECT_EQ(Sent(), (Events{"160 down", "66 down", "66 up", "160 up"}));
  EXPECT_FALSE(keyboard->IsKeyDown(160));

  // Hovered twice, Ctrl goes down and up again without typing.
  sender.sent.clear();
  Move(kLeftCtrl);
  Advance(1000);
  Move(kBackground);
  Move(kLeftCtrl);
  Advance(1000);
  EXPECT_EQ(Sent(), (Events{"162 down", "162 up"}));
  EXPECT_TRUE(NothingHeld());
}

TEST_F(HoverClickTest, AHeldModifierLocksAtThePressDelayAndNotBefore) {
  for (const std::uint32_t hold : {599u, 600u, 1000u}) {
    SCOPED_TRACE(hold);
    sender.sent.clear();
    Down(kLeftShift);
    Advance(hold);
    Up();
    const bool locks = hold >= 600;
    EXPECT_EQ(keyboard->KeyFor(160)->IsLocked(), locks);
    Click(kKeyA);
    Click(kKeyB);
    if (locks) {
      EXPECT_EQ(Sent(), (Events{"160 down", "65 down", "65 up", "66 down", "66 up"}));
      EXPECT_TRUE(keyboard->IsKeyDown(160));
      Click(kLeftShift);
      EXPECT_EQ(Sent().back(), "160 up");
      EXPECT_FALSE(keyboard->KeyFor(160)->IsLocked());
    } else {
      EXPECT_EQ(Sent(), (Events{"160 down", "65 down", "65 up", "160 up", "66 down", "66 up"}));
    }
    EXPECT_FALSE(keyboard->IsKeyDown(160));
    EXPECT_TRUE(NothingHeld());
  }
}

TEST_F(HoverClickTest, LockedModifiersOutlastHoverClicksAndGoWhenTheKeyboardCloses) {
  Down(kLeftShift);
  Advance(600);
  Up();
  Down(kLeftCtrl);
  Advance(600);
  Up();
  Move(kKeyB);
  Advance(1000);
  EXPECT_TRUE(keyboard->IsKeyDown(160));
  EXPECT_TRUE(keyboard->IsKeyDown(162));
  sender.sent.clear();
  press->ReleaseHeldKeys();
  EXPECT_EQ(Sent(), (Events{"160 up", "162 up"}));
  EXPECT_FALSE(keyboard->KeyFor(160)->IsLocked());
  EXPECT_FALSE(keyboard->KeyFor(162)->IsLocked());
  EXPECT_TRUE(NothingHeld());
  // A fresh click latches as before.
  Click(kLeftShift);
  Click(kKeyA);
  EXPECT_EQ(Sent(), (Events{"160 up", "162 up", "160 down", "65 down", "65 up", "160 up"}));
}

// The marks over the face: a bar across a locked key, a bar along a hovered
// one that grows with the time run.
TEST_F(HoverClickTest, LockedAndHoveredKeysShowTheirMarks) {
  fakes::RecordingBitmap& work = *parts.bitmaps.created.at(1);
  const auto lastFill = [&] {
    const auto fills = work.Of(fakes::DrawCall::kFillRect);
    return fills.empty() ? Rect{} : fills.back().rect;
  };
  const auto inside = [&](int vk, const Rect& r) {
    const auto& p = keyboard->KeyFor(vk)->Points();
    Rect box{p[0].x, p[0].y, p[0].x, p[0].y};
    for (const Point& q : p) {
      box.left = std::min(box.left, q.x), box.right = std::max(box.right, q.x);
      box.top = std::min(box.top, q.y), box.bottom = std::max(box.bottom, q.y);
    }
    return r.Width() > 0 && r.Height() > 0 && r.left >= box.left && r.right <= box.right &&
           r.top >= box.top && r.bottom <= box.bottom;
  };
  Down(kLeftShift);
  Advance(599);
  EXPECT_EQ(work.Count(fakes::DrawCall::kFillRect), 0u) << "a latched key has no bar";
  Advance(1);
  Up();
  const Rect bar = lastFill();
  EXPECT_TRUE(inside(160, bar));
  EXPECT_EQ(work.Of(fakes::DrawCall::kFillRect).back().brush, parts.theme.DownCaption);

  work.calls.clear();
  Move(kKeyA);
  std::vector<std::int32_t> widths;
  for (int step = 0; step < 9; ++step) {
    Advance(HoverClick::kStepMs);
    EXPECT_TRUE(inside(65, lastFill())) << step;
    widths.push_back(lastFill().Width());
  }
  EXPECT_TRUE(std::is_sorted(widths.begin(), widths.end()));
  EXPECT_LT(widths.front() * 5, widths.back());
}

TEST_F(HoverClickTest, TheSoundIsAskedForOncePerPressNeverPerRepeat) {
  Click(kKeyA);
  EXPECT_EQ(sound.plays, 1);
  Down(kKeyB, MouseButton::Right);  // Shift comes with it: still one press
  Advance(1000);                    // 21 repeats
  Up();
  EXPECT_GT(Sent().size(), 20u);
  EXPECT_EQ(sound.plays, 2);
  Click(kLeftShift);
  Click(kLeftShift);
  EXPECT_EQ(sound.plays, 4);
  Move(kKeyA);
  Advance(1000);
  EXPECT_EQ(sound.plays, 5);
  Down(kBackground);  // a drag presses no key
  Up();
  EXPECT_EQ(sound.plays, 5);
}

}  // namespace
}  // namespace luma
