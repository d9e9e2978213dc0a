// Telling when the window in front cannot be typed into: the answer per
// integrity level, asked once per window, said when it changes, and the
// dimmed look it is shown in.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "Fakes.h"
#include "keyboard/ForegroundCheck.h"
#include "keys/KeyInput.h"
#include "theme/Dimming.h"

namespace luma {
namespace {

class FakeIntegrityProbe : public IntegrityProbe {
 public:
  WindowId foreground = 0;
  std::map<WindowId, IntegrityOrder> orders;  // missing: unknown
  std::vector<WindowId> asked;

  WindowId ForegroundWindow() override { return foreground; }
  IntegrityOrder CompareWithOwn(WindowId window) override {
    asked.push_back(window);
    const auto it = orders.find(window);
    return it == orders.end() ? IntegrityOrder::kUnknown : it->second;
  }
};

struct Checked {
  FakeIntegrityProbe probe;
  std::vector<bool> shown;  // each change as the display was told
  ForegroundCheck check{probe, [this](bool cannotType) { shown.push_back(cannotType); }};
};

TEST(ForegroundCheck, OnlyAHigherOrUnreadableLevelCannotBeTypedInto) {
  const std::vector<std::pair<IntegrityOrder, bool>> cases = {
      {IntegrityOrder::kLower, false},
      {IntegrityOrder::kEqual, false},
      {IntegrityOrder::kHigher, true},
      {IntegrityOrder::kUnknown, true},
  };
  for (const auto& [order, cannotType] : cases) {
    Checked c;
    c.probe.orders[7] = order;
    c.probe.foreground = 7;
    c.check.Update();
    EXPECT_EQ(c.check.CannotType(), cannotType) << static_cast<int>(order);
    EXPECT_EQ(c.shown, cannotType ? std::vector<bool>{true} : std::vector<bool>{})
        << "only a change is shown";
  }
}

TEST(ForegroundCheck, AsksOncePerWindowAndSwitchesBackWithTheWindowInFront) {
  Checked c;
  c.probe.orders = {{1, IntegrityOrder::kHigher}, {2, IntegrityOrder::kEqual}};
  // In front, in turn: an elevated window, again, an ordinary one, the
  // elevated one again, none, the ordinary one.
  const std::vector<std::pair<WindowId, bool>> steps = {{1, true}, {1, true},  {2, false},
                                                        {1, true}, {0, false}, {2, false}};
  for (const auto& [window, cannotType] : steps) {
    c.probe.foreground = window;
    c.check.Update();
    EXPECT_EQ(c.check.CannotType(), cannotType) << "window " << window;
  }
  EXPECT_EQ(c.probe.asked, (std::vector<WindowId>{1, 2})) << "each window asked once";
  EXPECT_EQ(c.shown, (std::vector<bool>{true, false, true, false}));
}

// The check runs before each key, and the key goes out whatever it says.
class RecordingSender : public fakes::FakeKeySender {
 public:
  explicit RecordingSender(const ForegroundCheck& check) : check_(check) {}
  std::vector<bool> cannotTypeAtSend;
  void Send(const KeyEvent& e) override {
    FakeKeySender::Send(e);
    cannotTypeAtSend.push_back(check_.CannotType());
  }

 private:
  const ForegroundCheck& check_;
};

TEST(CheckingKeySender, ChecksBeforeEachKeyAndSendsItAnyway) {
  Checked c;
  c.probe.orders = {{1, IntegrityOrder::kHigher}, {2, IntegrityOrder::kLower}};
  RecordingSender inner(c.check);
  CheckingKeySender sender(inner, c.check);
  c.probe.foreground = 1;
  SendKeyInput(sender, 65, false, false);
  c.probe.foreground = 2;
  SendKeyInput(sender, 65, true, false);
  EXPECT_EQ(inner.sent,
            (std::vector<KeyEvent>{{65, 0x1E, 0, 0, 0}, {65, 0x1E, kKeyEventKeyUp, 0, 0}}))
      << "scan codes from the sender underneath";
  EXPECT_EQ(inner.cannotTypeAtSend, (std::vector<bool>{true, false}));
  EXPECT_EQ(c.shown, (std::vector<bool>{true, false}));
}

TEST(DimmedColors, KeyColorsGoHalfwayToTheBackgroundAndTheBackgroundStays) {
  fakes::FakeSystemColors sys;
  SchemeColors colors;
  colors.BackColor = Rgb(0, 0, 0);
  colors.BackPenColor = Rgb(9, 9, 9);
  colors.RestFace = Rgb(200, 100, 51);
  colors.RestBorder = SysColor(kColorWindow);  // white
  colors.RestCaption = Rgb(255, 255, 255);
  colors.RestChar = Rgb(0, 0, 0);
  colors.DownFace = kPureGreen;  // a marker, not a color to dim
  colors.HotFace = Rgb(1, 2, 3);
  const SchemeColors dimmed = DimmedColors(colors, sys);
  EXPECT_EQ(dimmed.BackColor, Rgb(0, 0, 0));
  EXPECT_EQ(dimmed.BackPenColor, Rgb(9, 9, 9));
  EXPECT_EQ(dimmed.RestFace, Rgb(100, 50, 26));
  EXPECT_EQ(dimmed.RestBorder, Rgb(128, 128, 128));
  EXPECT_EQ(dimmed.RestCaption, Rgb(128, 128, 128));
  EXPECT_EQ(dimmed.RestChar, Rgb(0, 0, 0));
  EXPECT_EQ(dimmed.DownFace, kPureGreen);
  EXPECT_EQ(dimmed.HotFace, Rgb(1, 1, 2));

  colors.BackColor = SysColor(kColorBtnFace);  // D4 D0 C8
  EXPECT_EQ(DimmedColors(colors, sys).RestChar, Rgb(0x6A, 0x68, 0x64));
}

}  // namespace
}  // namespace luma
