#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Fakes.h"
#include "InputTimeline.h"
#include "KeyboardHarness.h"
#include "input/PressLogic.h"
#include "keyboard/KeyboardStart.h"
#include "placement/WorkArea.h"

namespace luma {
namespace {

// Points inside keys of the built-in layout (design size 441 x 181).
constexpr Point kKeyA{75, 105};
constexpr Point kKey1{45, 45};
constexpr Point kKeyB{215, 135};
constexpr Point kDelete{415, 15};
constexpr Point kLeftShift{25, 135};
constexpr Point kRightShift{410, 135};
constexpr Point kLeftCtrl{20, 165};
constexpr Point kLeftWin{55, 165};
constexpr Point kLeftAlt{85, 165};
constexpr Point kBackground{410, 165};  // the empty corner right of the bottom row

// Enter in two outlines (main, then numeric pad) and the three lock keys.
constexpr std::string_view kTestLayout =
    "Height=100\r\nWidth=200\r\n"
    "13=0,20;20,20;20,0;0,0;-1,-1;40,20;60,20;60,0;40,0\r\n"
    "20=80,20;100,20;100,0;80,0\r\n"
    "144=100,20;120,20;120,0;100,0\r\n"
    "145=120,20;140,20;140,0;120,0\r\n"
    "65=0,60;20,60;20,40;0,40";
constexpr Point kMainEnter{10, 10};
constexpr Point kPadEnter{50, 10};
constexpr Point kEnterGap{30, 10};  // between the two outlines

// A step of the pointer: 'c' a click, 'd' a press, 'u' the release, 'm' a
// move, 'l' leaving the window.
struct Step {
  char what;
  Point at{};
  MouseButton button = MouseButton::Left;
};

std::string Describe(const KeyEvent& e) {
  std::string s = std::to_string(e.vk) + ((e.flags & kKeyEventKeyUp) ? " up" : " down");
  if (e.flags & kKeyEventExtendedKey) s += " ext";
  return s;
}

class PressLogicTest : public ::testing::Test {
 protected:
  void SetUp() override { Load(std::string_view{}); }

  // An empty text loads the built-in layout.
  void Load(std::string_view layoutText) {
    logic.reset();
    KeyboardStart start(kUsEnglishHkl);
    if (!layoutText.empty()) {
      start.layoutName = "Test";
      start.layoutText = layoutText;
    }
    keyboard = StartKeyboard(KeyboardDeps{parts.bitmaps, parts.screen, parts.layouts, sender,
                                          parts.theme, parts.captions},
                             parts.theme, start);
    ASSERT_NE(keyboard, nullptr);
    logic = std::make_unique<PressLogic>(*keyboard, sender, timer, host);
    timer.onTick = [this] { logic->PressTimerTick(); };
    sender.sent.clear();
    sender.at.clear();
  }

  void Down(Point p, MouseButton button = MouseButton::Left) { logic->MouseDown(button, p.x, p.y); }
  void Click(Point p, MouseButton button = MouseButton::Left) {
    Down(p, button);
    logic->MouseUp();
  }
  std::vector<std::string> Sent() const {
    std::vector<std::string> out;
    for (const auto& e : sender.sent) out.push_back(Describe(e));
    return out;
  }
  void Act(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      if (step.what == 'c') Click(step.at, step.button);
      if (step.what == 'd') Down(step.at, step.button);
      if (step.what == 'u') logic->MouseUp();
      if (step.what == 'm') logic->MouseMove(step.at.x, step.at.y);
      if (step.what == 'l') logic->MouseLeave();
    }
  }
  // Nothing latched nor held: releasing everything sends nothing.
  bool NothingHeld() {
    const std::size_t before = sender.sent.size();
    logic->ReleaseHeldKeys();
    return sender.sent.size() == before;
  }

  test::KeyboardParts parts;
  fakes::FakeScreen& screen = parts.screen;
  fakes::FakeTimer timer;
  fakes::TimedKeySender sender{timer};
  fakes::FakePressHost host;
  std::unique_ptr<Keyboard> keyboard;
  std::unique_ptr<PressLogic> logic;
};

using Events = std::vector<std::string>;

// Each from nothing held, and back to nothing held nor drawn down: a clicked
// modifier latches until the next key or a second click; a right or middle
// click adds left Shift or left Ctrl; Enter is extended from the numeric
// pad's outline only, the outline pressed deciding.
TEST_F(PressLogicTest, ClicksSendTheirKeysWithTheModifiersLatchedForThem) {
  constexpr MouseButton kRight = MouseButton::Right, kMiddle = MouseButton::Middle;
  struct Row {
    const char* what;
    std::vector<Step> steps;
    Events sent;
  };
  const Row builtIn[] = {
      {"Shift clicked twice is up",
       {{'c', kLeftShift}, {'c', kLeftShift}, {'c', kKeyA}},
       {"160 down", "160 up", "65 down", "65 up"}},
      {"latched keys go up in rising code order",
       {{'c', kLeftAlt}, {'c', kLeftCtrl}, {'c', kDelete}},
       {"164 down", "162 down", "46 down ext", "46 up ext", "162 up", "164 up"}},
      {"right click", {{'c', kKey1, kRight}}, {"160 down", "49 down", "49 up", "160 up"}},
      {"middle click", {{'c', kKey1, kMiddle}}, {"162 down", "49 down", "49 up", "162 up"}},
      {"left click", {{'c', kKey1}}, {"49 down", "49 up"}},
      {"any button on a modifier only toggles it",
       {{'c', kLeftCtrl, kRight},
        {'c', kRightShift, kMiddle},
        {'c', kLeftCtrl, kMiddle},
        {'c', kRightShift, kRight}},
       {"162 down", "161 down ext", "162 up", "161 up ext"}},
      {"a double click is two presses",
       {{'c', kKeyA}, {'c', kKeyA}},
       {"65 down", "65 up", "65 down", "65 up"}},
      {"leaving keeps a latched modifier",
       {{'c', kLeftShift}, {'l'}, {'c', kKeyA}},
       {"160 down", "65 down", "65 up", "160 up"}},
      {"a second press keeps the first key's companion latched",
       {{'d', kKeyA, kMiddle}, {'d', kKeyB}, {'u'}},
       {"162 down", "65 down", "65 up", "66 down", "66 up", "162 up"}},
  };
  // A coalesced move from one outline straight to the other stays on the
  // same hover key; the press still decides, also with no move before it.
  const Row twoEnters[] = {
      {"Enter from each outline",
       {{'m', kPadEnter}, {'c', kPadEnter}, {'m', kEnterGap}, {'m', kMainEnter}, {'c', kMainEnter}},
       {"13 down ext", "13 up ext", "13 down", "13 up"}},
      {"Enter without a fresh hover",
       {{'m', kPadEnter}, {'m', kMainEnter}, {'c', kMainEnter}, {'c', kPadEnter}},
       {"13 down", "13 up", "13 down ext", "13 up ext"}},
  };
  const auto run = [&](std::string_view layout, const auto& rows) {
    for (const Row& r : rows) {
      SCOPED_TRACE(r.what);
      Load(layout);
      Act(r.steps);
      EXPECT_EQ(Sent(), r.sent);
      EXPECT_FALSE(timer.Running());
      for (const int vk : {13, 49, 65, 66, 160, 161, 162, 164})
        EXPECT_FALSE(keyboard->IsKeyDown(vk)) << vk;
      EXPECT_TRUE(NothingHeld());
    }
  };
  run({}, builtIn);
  run(kTestLayout, twoEnters);

  // A latched Shift is drawn down, and a key is sent with its scan code and
  // the program's own mark.
  Load(std::string_view{});
  Click(kLeftShift);
  EXPECT_TRUE(keyboard->IsKeyDown(160));
  Click(kKeyA);
  ASSERT_EQ(Sent(), (Events{"160 down", "65 down", "65 up", "160 up"}));
  EXPECT_EQ(sender.sent[1], (KeyEvent{65, 0x1E, 0, 0, kOwnKeyEventMark}));
}

// A second button on the modifier the first one holds lets it go; the
// press delay then locks nothing.
TEST_F(PressLogicTest, ASecondButtonOnAHeldModifierEndsItsHold) {
  Down(kLeftShift);
  Down(kLeftShift, MouseButton::Right);
  timer.Advance(600);
  EXPECT_FALSE(keyboard->KeyFor(160)->IsLocked());
  EXPECT_FALSE(timer.Running());
  logic->MouseUp();
  Click(kKeyA);
  EXPECT_EQ(Sent(), (Events{"160 down", "160 up", "65 down", "65 up"}));
  EXPECT_TRUE(NothingHeld());
}

// A pointer sliding from one Enter outline to the other while the button
// holds the key moves the hover part; the press keeps its key-down's flag.
TEST_F(PressLogicTest, AHeldEnterKeepsItsKeyDownsExtendedFlagForItsRepeatsAndKeyUp) {
  Load(kTestLayout);
  for (const Point pressed : {kPadEnter, kMainEnter}) {
    const bool pad = pressed.x == kPadEnter.x;
    SCOPED_TRACE(pad ? "pad Enter" : "main Enter");
    sender.sent.clear();
    Down(pressed);
    keyboard->KeyFor(13)->SetSecondPartHit(!pad);  // a move onto the other outline
    timer.Advance(640);
    logic->MouseUp();
    const Events sent = Sent();
    ASSERT_EQ(sent.size(), 5u);  // down, three repeats, up
    for (const std::string& e : sent) EXPECT_EQ(e.find(" ext") != std::string::npos, pad) << e;
  }
}

TEST_F(PressLogicTest, HeldKeyRepeatsAfter600ThenEvery20) {
  Down(kKeyA);
  timer.Advance(1000);
  logic->MouseUp();
  std::vector<std::uint32_t> expectedDowns{0};
  for (std::uint32_t t = 600; t <= 1000; t += 20) expectedDowns.push_back(t);
  ASSERT_EQ(sender.sent.size(), expectedDowns.size() + 1);
  for (std::size_t i = 0; i < expectedDowns.size(); ++i) {
    EXPECT_EQ(Describe(sender.sent[i]), "65 down") << i;
    EXPECT_EQ(sender.at[i], expectedDowns[i]) << i;
  }
  EXPECT_EQ(Describe(sender.sent.back()), "65 up");
  EXPECT_EQ(sender.at.back(), 1000u);
  EXPECT_FALSE(timer.Running());
  // Each arming counts from its own step.
  ASSERT_GE(timer.starts.size(), 3u);
  EXPECT_EQ(timer.starts[0], (std::pair<std::uint32_t, std::uint32_t>{0, 600}));
  EXPECT_EQ(timer.starts[1], (std::pair<std::uint32_t, std::uint32_t>{600, 20}));
  EXPECT_EQ(timer.starts[2], (std::pair<std::uint32_t, std::uint32_t>{620, 20}));
}

TEST_F(PressLogicTest, KeyRepeatOffSendsOneDownAndOneUp) {
  logic->SetKeyRepeat(false);
  Down(kKeyA);
  timer.Advance(5000);
  logic->MouseUp();
  EXPECT_EQ(Sent(), (Events{"65 down", "65 up"}));
  EXPECT_EQ(sender.at.back(), 5000u);
}

TEST_F(PressLogicTest, LockKeysNeverRepeat) {
  Load(kTestLayout);
  struct Row {
    Point at;
    Events expected;
  } rows[] = {
      {{90, 10}, {"20 down", "20 up"}},
      {{110, 10}, {"144 down ext", "144 up ext"}},
      {{130, 10}, {"145 down", "145 up"}},
  };
  for (const auto& r : rows) {
    sender.sent.clear();
    Down(r.at);
    timer.Advance(2000);
    EXPECT_TRUE(timer.Running()) << r.expected[0];  // keeps ticking until the release
    logic->MouseUp();
    EXPECT_EQ(Sent(), r.expected);
  }
}

TEST_F(PressLogicTest, BackgroundPressDragsOnlyWithTheLeftButton) {
  host.cursor = {1000, 800};
  Down(kBackground, MouseButton::Right);
  Down(kBackground, MouseButton::Middle);
  EXPECT_FALSE(logic->Dragging());
  host.cursor = {1010, 790};
  logic->MouseMove(kBackground.x, kBackground.y);
  EXPECT_EQ(host.window, (Point{100, 500}));
  EXPECT_EQ(host.unfocusChildCalls, 1);

  host.cursor = {1000, 800};
  Down(kBackground);
  EXPECT_TRUE(logic->Dragging());
  host.cursor = {1010, 795};
  logic->MouseMove(0, 0);
  EXPECT_EQ(host.window, (Point{110, 495}));
  host.cursor = {990, 805};
  logic->MouseMove(0, 0);
  EXPECT_EQ(host.window, (Point{90, 505}));
  EXPECT_EQ(host.unfocusChildCalls, 1);  // no hover tracking while dragging

  logic->MouseUp();
  EXPECT_FALSE(logic->Dragging());
  host.cursor = {2000, 2000};
  logic->MouseMove(5, 5);
  EXPECT_EQ(host.window, (Point{90, 505}));
  EXPECT_TRUE(sender.sent.empty());
}

TEST_F(PressLogicTest, AnAbsorbedMoveKeepsThatAxisAnchor) {
  const Rect workArea{0, 0, 1920, 1040};
  host.moveRule = [&](Point p) {
    SnapToWorkArea(p, 441, 181, {host.window.x, host.window.y, 441, 181}, workArea);
    return p;
  };
  host.cursor = {500, 600};
  Down(kBackground);

  host.cursor = {405, 590};  // Left 5 snaps to 0; Top follows: anchors (405, 590)
  logic->MouseMove(0, 0);
  EXPECT_EQ(host.window, (Point{0, 490}));

  host.cursor = {397, 585};  // Left -8 snaps back to 0: absorbed, x anchor kept
  logic->MouseMove(0, 0);
  EXPECT_EQ(host.window, (Point{0, 485})) << "5 up from the y anchor 590";

  host.cursor = {394, 585};  // 11 pixels from the x anchor: the window lets go
  logic->MouseMove(0, 0);
  EXPECT_EQ(host.window, (Point{-11, 485})) << "y anchor moved on to 585";

  host.cursor = {393, 585};  // the x anchor moved on to 394
  logic->MouseMove(0, 0);
  EXPECT_EQ(host.window, (Point{-12, 485}));
}

TEST_F(PressLogicTest, VerticalMoveStartsFromWhereTheHorizontalMoveLeftTheWindow) {
  // A horizontal move whose rules also shift the window down by 3.
  host.moveRule = [&](Point p) {
    if (p.x != host.window.x) p.y += 3;
    return p;
  };
  host.cursor = {0, 0};
  Down(kBackground);
  host.cursor = {10, 10};
  logic->MouseMove(0, 0);
  EXPECT_EQ(host.window, (Point{110, 513}));
}

TEST_F(PressLogicTest, LeavingEndsAHeldKeyAndADrag) {
  Click(kLeftShift);
  Down(kKeyA);
  timer.Advance(100);
  logic->MouseLeave();
  EXPECT_EQ(Sent(), (Events{"160 down", "65 down", "65 up", "160 up"}));
  EXPECT_FALSE(timer.Running());
  EXPECT_FALSE(keyboard->IsKeyDown(65));

  Down(kBackground);
  EXPECT_TRUE(logic->Dragging());
  logic->MouseLeave();
  EXPECT_FALSE(logic->Dragging());
}

TEST_F(PressLogicTest, ReleasedKeyReachesTheScreenWithoutAFurtherMove) {
  Down(kKeyA);
  const std::size_t copies = screen.copies.size();
  logic->MouseUp();
  EXPECT_GT(screen.copies.size(), copies);
}

TEST_F(PressLogicTest, ExitReleasesEveryHeldKeyInRisingOrder) {
  Click(kLeftCtrl);
  Click(kLeftWin);
  Down(kKeyB, MouseButton::Right);
  timer.Advance(700);
  sender.sent.clear();
  logic->ReleaseHeldKeys();
  EXPECT_EQ(Sent(), (Events{"66 up", "91 up ext", "160 up", "162 up"}));
  EXPECT_FALSE(timer.Running());
  for (int vk : {66, 91, 160, 162}) EXPECT_FALSE(keyboard->IsKeyDown(vk)) << vk;

  sender.sent.clear();
  logic->ReleaseHeldKeys();
  logic->MouseUp();
  timer.Advance(1000);
  EXPECT_TRUE(sender.sent.empty());
}

TEST_F(PressLogicTest, SecondButtonOnAnotherKeyReleasesTheFirst) {
  Down(kKeyA);
  timer.Advance(100);
  Down(kKeyB, MouseButton::Right);
  EXPECT_EQ(Sent(), (Events{"65 down", "65 up", "160 down", "66 down"}));
  EXPECT_FALSE(keyboard->IsKeyDown(65));
  EXPECT_TRUE(keyboard->IsKeyDown(66));
  // The second key is a fresh press: its first repeat comes 600 ms later.
  sender.sent.clear();
  timer.Advance(599);
  EXPECT_TRUE(sender.sent.empty());
  timer.Advance(1);
  EXPECT_EQ(Sent(), (Events{"66 down"}));
  EXPECT_EQ(sender.at.back(), 700u);
  sender.sent.clear();
  logic->MouseUp();
  EXPECT_EQ(Sent(), (Events{"66 up", "160 up"}));
  logic->MouseUp();  // the other button's release finds nothing held
  EXPECT_EQ(Sent(), (Events{"66 up", "160 up"}));
}

// --- The Full layout: navigation block, numeric pad and its Enter -----------

// Points inside keys of "Full" (design size 671 x 181).
constexpr Point kPad7{565, 75};
constexpr Point kPad4{565, 105};
constexpr Point kPad5{595, 105};
constexpr Point kPad0{580, 165};
constexpr Point kPadDecimal{625, 165};
constexpr Point kPadPlus{655, 90};
constexpr Point kPadEnterFull{655, 150};
constexpr Point kMainEnterFull{415, 105};
constexpr Point kNavDelete{465, 75};
constexpr Point kTopRightDelete{415, 15};
constexpr Point kArrowLeft{465, 165};
constexpr Point kNavHome{495, 45};
constexpr Point kNumLock{565, 45};

TEST_F(PressLogicTest, FullPadKeysFollowNumLockAndOnlyThePadEnterIsExtended) {
  struct Row {
    Point at;
    const char* off;  // sent with Num Lock off
    const char* on;   // and on
  } rows[] = {
      {kPad7, "36", "103"},
      {kPad5, "12", "101"},
      {kPad0, "45", "96"},
      {kPadDecimal, "46", "110"},
      {kPadPlus, "107", "107"},
      {kPadEnterFull, "13 ext", "13 ext"},
      {kMainEnterFull, "13", "13"},
      {kNavDelete, "46 ext", "46 ext"},
      {kTopRightDelete, "46 ext", "46 ext"},
      {kArrowLeft, "37 ext", "37 ext"},
      {kNavHome, "36 ext", "36 ext"},
  };
  for (const bool numLockOn : {false, true}) {
    sender.systemState[kVkNumLock] = numLockOn ? 1 : 0;
    Load(BuiltInLayoutText(kFullLayoutName));
    for (const Row& r : rows) {
      sender.sent.clear();
      Click(r.at);
      const std::string code = numLockOn ? r.on : r.off;
      const auto space = code.find(' ');
      const std::string vk = code.substr(0, space);
      const std::string ext = space == std::string::npos ? "" : code.substr(space);
      EXPECT_EQ(Sent(), (Events{vk + " down" + ext, vk + " up" + ext}))
          << r.at.x << "," << r.at.y << " Num Lock " << numLockOn;
    }
  }
}

TEST_F(PressLogicTest, ClickingNumLockSwitchesThePadAndArrowsRepeat) {
  sender.systemState[kVkNumLock] = 0;
  Load(BuiltInLayoutText(kFullLayoutName));
  Click(kPad4);
  Click(kNumLock);
  Click(kPad4);
  Click(kNumLock);
  Click(kPad4);
  EXPECT_EQ(Sent(), (Events{"37 down", "37 up", "144 down ext", "144 up ext", "100 down", "100 up",
                            "144 down ext", "144 up ext", "37 down", "37 up"}));
  for (const Point at : {kArrowLeft, kPad4}) {
    sender.sent.clear();
    Down(at);
    timer.Advance(700);
    logic->MouseUp();
    const Events sent = Sent();
    ASSERT_GT(sent.size(), 3u);
    EXPECT_EQ(sent.front(), sent[1]);
    EXPECT_EQ(sent.back(), at.x == kArrowLeft.x && at.y == kArrowLeft.y ? "37 up ext" : "37 up");
  }
  EXPECT_TRUE(NothingHeld());
}

// Num Lock toggled elsewhere (a physical keyboard, another program) since
// the last poll: the pad types what the system's Num Lock says, and a click
// on the on-screen Num Lock leaves the model agreeing with the system.
TEST_F(PressLogicTest, ThePadFollowsTheSystemsNumLockAtEachPress) {
  sender.systemState[kVkNumLock] = 1;
  Load(BuiltInLayoutText(kFullLayoutName));
  sender.systemState[kVkNumLock] = 0;  // switched off on a physical keyboard
  Click(kPad4);
  Click(kNumLock);
  EXPECT_EQ(sender.systemState[kVkNumLock], 1);
  EXPECT_EQ(keyboard->KeyStateEntry(kVkNumLock), 1);
  Click(kPad4);
  EXPECT_EQ(Sent(),
            (Events{"37 down", "37 up", "144 down ext", "144 up ext", "100 down", "100 up"}));

  // A key held across a change keeps what its key-down sent.
  sender.sent.clear();
  Down(kPad4);
  sender.systemState[kVkNumLock] = 0;
  keyboard->FollowSystemToggles();  // as the poll does
  timer.Advance(620);
  logic->MouseUp();
  EXPECT_EQ(Sent(), (Events{"100 down", "100 down", "100 down", "100 up"}));
  Click(kPad4);
  EXPECT_EQ(Sent().back(), "37 up");
}

// --- Through the input, beside hovering: the lock of a held modifier, the sound

class PressLogicOverInput : public test::InputTimeline {};

TEST_F(PressLogicOverInput, AHoldOfThePressDelayLocksUntilAClickOrTheClose) {
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

TEST_F(PressLogicOverInput, TheSoundIsAskedForOncePerPressNeverPerRepeat) {
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

}  // namespace
}  // namespace luma
