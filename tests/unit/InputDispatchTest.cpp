// The order in which a pointer event reaches press and hover, and what the
// window is asked for on the way; the options kept without a keyboard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputTimeline.h"
#include "input/InputDispatch.h"
#include "placement/ClientRegions.h"

namespace luma {
namespace {

class InputDispatchTest : public test::InputTimeline {};

// The release of a button can happen where the window never hears of it;
// the next move with no button down ends the press, and hovering types again.
TEST_F(InputDispatchTest, AMoveWithNoButtonDownEndsAPressWhoseReleaseWentUnseen) {
  const struct {
    const char* what;
    const char* press;
    Events expected;
  } rows[] = {
      {"right press, released outside",
       "down B right; leave",
       {"160 down", "66 down", "66 up", "160 up", "65 down", "65 up"}},
      {"middle press, neither release nor leave seen",
       "down B middle; wait 100",
       {"162 down", "66 down", "66 up", "162 up", "65 down", "65 up"}},
      {"drag, capture lost unseen", "down Background", {"65 down", "65 up"}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Leave();
    Act(r.press);
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
    const char* steps;
    Events sent;
    Calls window;
    bool dragging;
  } rows[] = {
      {"left press: the capture while it lasts",
       "click A",
       {"65 down", "65 up"},
       {"capture", "watch", "release"},
       false},
      {"right press: no capture",
       "down A right; up right",
       {"160 down", "65 down", "65 up", "160 up"},
       {"watch"},
       false},
      {"one leave notice per entry",
       "move A; move B; leave; move A",
       {},
       {"watch", "watch"},
       false},
      {"a held key moved out under the capture is let go as at a leave",
       "down A; move Outside; up; move A",
       {"65 down", "65 up"},
       {"capture", "watch", "release", "watch"},
       false},
      {"a drag goes on outside and through a leave notice",
       "down Background; move Outside; leave",
       {},
       {"capture", "watch"},
       true},
      {"a lost capture ends a held key",
       "down A; lost",
       {"65 down", "65 up"},
       {"capture", "watch"},
       false},
      {"a lost capture ends a drag", "down Background; lost", {}, {"capture", "watch"}, false},
      {"a minimise lets go of a held key and a locked Shift",
       "down Shift; wait 600; up; down A; end",
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
    Act(r.steps);
    EXPECT_EQ(Sent(), r.sent);
    EXPECT_EQ(window.calls, r.window);
    EXPECT_EQ(input.Dragging(), r.dragging);
  }
}

// A row of three items, 100 pixels each, above the keys; the rest of the row
// is its background.
struct ItemRow : ItemArea {
  static constexpr std::int32_t kHeight = 20;
  std::vector<std::string> calls;
  int hot = -1;
  Rect Bounds() const override { return {0, 0, 441, kHeight}; }
  int ItemAt(Point p) const override { return p.x < 300 ? p.x / 100 : -1; }
  void SetHot(int item) override { hot = item; }
  void Choose(int item) override { calls.push_back("choose " + std::to_string(item)); }
  void ShowProgress(int item, int permille) override {
    if (permille == 0 || permille == 500)
      calls.push_back("progress " + std::to_string(item) + " " + std::to_string(permille));
  }
};

TEST_F(InputDispatchTest, ItemsAboveTheKeysAreClickedByEveryButtonAndByHover) {
  ItemRow row;
  input.AddItemArea(row);
  input.SetKeyOrigin({0, ItemRow::kHeight});
  Choose([](Options& o) { o.hoverTimeMs = 1000; });
  const Point item1{150, 10}, item2{250, 10}, rowBackground{350, 10};
  const Point keyA{kA.x, kA.y + ItemRow::kHeight};
  places.insert({{"item1", item1}, {"item2", item2}, {"keyA", keyA}});
  using Calls = std::vector<std::string>;
  const struct {
    const char* what;
    const char* steps;
    Calls chosen;
    Events sent;
    int sounds;
  } rows[] = {
      {"left, right and middle presses choose",
       "click item1; click item2 right; click item1 middle",
       {"choose 1", "choose 2", "choose 1"},
       {},
       3},
      {"a key below the row, past the row's height", "click keyA", {}, {"65 down", "65 up"}, 1},
      {"a hover on an item shows its progress, chooses it once",
       "move item2; wait 3000",
       {"progress 2 500", "progress 2 0", "choose 2"},
       {},
       1},
      {"no choice while a key is held", "down keyA; pick 1; up", {}, {"65 down", "65 up"}, 1},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Leave();
    row.calls.clear();
    sound.plays = 0;
    Sent();
    Act(r.steps);
    EXPECT_EQ(row.calls, r.chosen);
    EXPECT_EQ(Sent(), r.sent);
    EXPECT_EQ(sound.plays, r.sounds);
  }

  // The row's background moves the window, as the keys' background does.
  Leave();
  Move(item1);
  EXPECT_EQ(row.hot, 1);
  Down(rowBackground);
  EXPECT_TRUE(input.Dragging());
  EXPECT_EQ(row.hot, 1) << "the hot item changes only on a move";
  Up();
  Move(rowBackground);
  EXPECT_EQ(row.hot, -1);
  EXPECT_EQ(input.TargetAt(keyA.x, keyA.y), Target::Key(65));
  EXPECT_EQ(input.TargetAt(item2.x, item2.y), Target::Item(0, 2));
  EXPECT_EQ(input.TargetAt(rowBackground.x, rowBackground.y), Target{});
}

struct TypedKeys : TypingListener {
  std::vector<int> keys;
  void KeyTyped(int vk) override { keys.push_back(vk); }
};

// What a word typed on the user's behalf has to know of the keys, and how
// the modifiers end after it.
TEST_F(InputDispatchTest, TypedKeysAreToldAndAWordTypedWithoutAKeyLetsLatchedModifiersGo) {
  TypedKeys typed;
  input.SetTypingListener(&typed);
  Click(kLeftShift);
  Click(kA);
  Down(kB);
  Advance(600);  // the press delay: one repeat
  Up();
  Move(kA);
  Advance(1000);  // a hover click
  EXPECT_EQ(typed.keys, (std::vector<int>{65, 66, 66, 65}));
  Leave();
  Sent();

  Click(kLeftShift);  // latched
  Down(kLeftCtrl);    // locked
  Advance(600);
  Up();
  input.EndTypingWithoutKey();
  EXPECT_EQ(Sent(), (Events{"160 down", "162 down", "160 up"}));
  EXPECT_TRUE(Locked(162));
}

TEST(ClientRegionsTest, TheRowTakesTheTopAndTheKeysTheRest) {
  const struct {
    std::int32_t width, height, row;
    Rect itemRow, keys;
  } rows[] = {
      {441, 181, 0, {}, {0, 0, 441, 181}},
      {441, 201, 20, {0, 0, 441, 20}, {0, 20, 441, 201}},
      {441, 10, 20, {0, 0, 441, 10}, {0, 10, 441, 10}},
      {-5, -5, 20, {}, {0, 0, 0, 0}},
  };
  for (const auto& r : rows) {
    const ClientRegions regions = LayOutClient(r.width, r.height, r.row);
    EXPECT_EQ(regions.itemRow, r.itemRow) << r.width << "x" << r.height << " row " << r.row;
    EXPECT_EQ(regions.keys, r.keys) << r.width << "x" << r.height << " row " << r.row;
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
