// Telling when the window in front cannot be typed into: the answer per
// integrity level, asked once per window, said when it changes, checked
// as each key goes out.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "Fakes.h"
#include "foreground/ForegroundCheck.h"
#include "keys/KeyInput.h"

namespace luma {
namespace {

struct Checked : IntegrityProbe {
  WindowId foreground = 0;
  std::map<WindowId, IntegrityOrder> orders;  // missing: unknown
  std::vector<WindowId> asked;
  std::vector<bool> shown;  // each change as the display was told
  ForegroundCheck check{*this, [this](bool cannotType) { shown.push_back(cannotType); }};

  WindowId ForegroundWindow() override { return foreground; }
  IntegrityOrder CompareWithOwn(WindowId window) override {
    asked.push_back(window);
    return orders.count(window) ? orders[window] : IntegrityOrder::kUnknown;
  }
  bool InFront(WindowId window) {
    foreground = window;
    check.Update();
    return check.CannotType();
  }
};

TEST(ForegroundCheck, OnlyAHigherOrUnreadableLevelCannotBeTypedInto) {
  for (const auto& [order, cannotType] :
       std::vector<std::pair<IntegrityOrder, bool>>{{IntegrityOrder::kLower, false},
                                                    {IntegrityOrder::kEqual, false},
                                                    {IntegrityOrder::kHigher, true},
                                                    {IntegrityOrder::kUnknown, true}}) {
    Checked c;
    c.orders[7] = order;
    EXPECT_EQ(c.InFront(7), cannotType) << static_cast<int>(order);
    EXPECT_EQ(c.shown.size(), cannotType ? 1u : 0u) << "only a change is shown";
  }
}

TEST(ForegroundCheck, AsksOncePerWindowAndSwitchesBackWithTheWindowInFront) {
  Checked c;
  c.orders = {{1, IntegrityOrder::kHigher}, {2, IntegrityOrder::kEqual}};
  // An elevated window, again, an ordinary one, the elevated one, none, the ordinary one.
  std::vector<bool> cannotType;
  for (WindowId w : {1, 1, 2, 1, 0, 2}) cannotType.push_back(c.InFront(w));
  EXPECT_EQ(cannotType, (std::vector<bool>{true, true, false, true, false, false}));
  EXPECT_EQ(c.asked, (std::vector<WindowId>{1, 2}));
  EXPECT_EQ(c.shown, (std::vector<bool>{true, false, true, false}));
}

// The display is told after the key is out: a title and a dimmed redraw
// must not hold the key up.
TEST(CheckingKeySender, SendsEachKeyDownAnywayAndThenChecksTheWindowInFront) {
  Checked c;
  c.orders = {{1, IntegrityOrder::kHigher}, {2, IntegrityOrder::kLower}};
  struct Sender : fakes::FakeKeySender {
    const std::vector<bool>* shown = nullptr;
    std::vector<std::size_t> shownAtSend;  // display changes told before each key
    void Send(const KeyEvent& e) override {
      FakeKeySender::Send(e);
      shownAtSend.push_back(shown->size());
    }
  } inner;
  inner.shown = &c.shown;
  CheckingKeySender sender(inner, c.check);
  // Down in front of 1, up in front of 2 (not looked at), down in front of 2.
  for (const auto& [window, keyUp] :
       std::vector<std::pair<WindowId, bool>>{{1, false}, {2, true}, {2, false}}) {
    c.foreground = window;
    SendKeyInput(sender, 65, keyUp, false);
  }
  EXPECT_EQ(inner.sent, (std::vector<KeyEvent>{{65, 0x1E, 0, 0, kOwnKeyEventMark},
                                               {65, 0x1E, 2, 0, kOwnKeyEventMark},
                                               {65, 0x1E, 0, 0, kOwnKeyEventMark}}));
  EXPECT_EQ(inner.shownAtSend, (std::vector<std::size_t>{0, 1, 1}));
  EXPECT_EQ(c.shown, (std::vector<bool>{true, false}));
  EXPECT_EQ(c.asked, (std::vector<WindowId>{1, 2}));
}

}  // namespace
}  // namespace luma
