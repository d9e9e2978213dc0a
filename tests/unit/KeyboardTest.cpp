#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "KeyboardHarness.h"
#include "keyboard/Keyboard.h"
#include "theme/Theme.h"

namespace luma {
namespace {

using fakes::DrawCall;
using test::Corners;
using test::KeyboardHarness;
using test::KeyLine;

TEST(KeyboardCreate, FollowsTheForegroundLayoutAndTakesTheScreenSize) {
  test::KeyboardParts parts;
  parts.screen.width = 500;
  parts.screen.height = 200;
  Keyboard kb(parts.Deps(), 0x04070407);
  EXPECT_EQ(kb.Captions().CurrentLayout(), 0x04070407u);
  EXPECT_EQ(kb.Width(), 500);
  EXPECT_EQ(kb.Height(), 200);
  EXPECT_EQ(parts.bitmaps.created.size(), 2u);
  for (int vk = 0; vk <= 256; ++vk) EXPECT_EQ(kb.KeyFor(vk), nullptr);
  EXPECT_TRUE(kb.Picture().PaintingEnabled());
  EXPECT_EQ(kb.HoverKey(), nullptr);
  EXPECT_TRUE(parts.screen.copies.empty());
}

// --- Key state -------------------------------------------------------------

TEST(KeyboardKeyState, LockKeysToggleOnlyWhenGoingDown) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  for (int vk : {20, 144, 145}) {
    const std::vector<std::pair<bool, int>> steps = {{true, 1},  {false, 1}, {true, 0},
                                                     {false, 0}, {true, 1},  {false, 1}};
    for (auto [down, expected] : steps) {
      h.kb.KeyFor(vk)->SetDown(down);
      EXPECT_EQ(h.kb.KeyStateEntry(vk), expected) << vk << (down ? " down" : " up");
    }
  }
  // A toggle value the system reported with the down bit set counts as off.
  KeyboardHarness shown;
  ASSERT_TRUE(shown.kb.LoadLayout("Standard"));
  for (int vk : {20, 144, 145}) shown.sender.systemState[static_cast<std::size_t>(vk)] = 0x81;
  shown.kb.SetShown(true);
  for (int vk : {20, 144, 145}) {
    ASSERT_EQ(shown.kb.KeyStateEntry(vk), 0x81) << vk;
    shown.kb.KeyFor(vk)->SetDown(true);
    EXPECT_EQ(shown.kb.KeyStateEntry(vk), 1) << vk;
  }
}

struct StateStep {
  int vk;
  bool down;
  std::vector<std::pair<int, int>> expect;  // entry, value
};

TEST(KeyboardKeyState, SidedModifiersKeepTheCombinedEntry) {
  const std::vector<std::vector<StateStep>> scripts = {
      {{160, true, {{160, 0x81}, {16, 0x81}}},
       {161, true, {{161, 0x81}, {16, 0x81}}},
       {160, false, {{160, 0}, {16, 0x81}}},  // right Shift still down
       {161, false, {{161, 0}, {16, 0}}}},
      {{163, true, {{163, 0x81}, {17, 0x81}, {16, 0}}},
       {162, true, {{17, 0x81}}},
       {163, false, {{17, 0x81}}},
       {162, false, {{17, 0}}}},
      {{165, true, {{165, 0x81}, {18, 0x81}, {17, 0}}},
       {164, true, {{18, 0x81}}},
       {165, false, {{18, 0x81}}},
       {164, false, {{18, 0}}}},
      // The Win keys have no combined entry; ordinary keys set their own.
      {{91, true, {{91, 0x81}, {16, 0}, {17, 0}, {18, 0}}},
       {92, true, {{92, 0x81}}},
       {65, true, {{65, 0x81}}},
       {65, false, {{65, 0}}}},
  };
  for (const auto& script : scripts) {
    KeyboardHarness h;
    ASSERT_TRUE(h.kb.LoadLayout("Standard"));
    for (const auto& step : script) {
      h.kb.KeyFor(step.vk)->SetDown(step.down);
      for (auto [entry, value] : step.expect)
        EXPECT_EQ(h.kb.KeyStateEntry(entry), value)
            << "after " << step.vk << (step.down ? " down" : " up") << ": entry " << entry;
    }
  }
}

// --- Redraw decisions --------------------------------------------------------

class KeyboardLoaded : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(h.kb.LoadLayout("Standard"));
    h.ForgetCalls();
  }
  KeyboardHarness h;
};

TEST_F(KeyboardLoaded, OrdinaryKeyDownRepaintsThatKeyAloneAndCopiesNothing) {
  h.kb.KeyFor(65)->SetDown(true);
  EXPECT_TRUE(h.screen.copies.empty());
  EXPECT_EQ(h.Work().Count(DrawCall::kBlit), 0u);
  const auto outlines = h.Work().Of(DrawCall::kPolygon);
  ASSERT_EQ(outlines.size(), 1u);
  EXPECT_EQ(outlines[0].points, Corners(60, 90, 90, 120));
  EXPECT_EQ(h.kb.KeyStateEntry(65), 0x81);
  EXPECT_TRUE(h.kb.IsKeyDown(65));
  EXPECT_FALSE(h.kb.IsKeyDown(66));
}

TEST_F(KeyboardLoaded, StateKeyDownRedrawsEveryKeyFromTheBaseImage) {
  // Num Lock has no outline in the built-in layout but is still a state key.
  for (int vk : {20, 144, 145, 91, 92, 160, 161, 162, 163, 164, 165}) {
    h.ForgetCalls();
    h.kb.KeyFor(vk)->SetDown(true);
    EXPECT_EQ(h.Work().Count(DrawCall::kBlit), 1u) << vk;
    EXPECT_EQ(h.screen.copies.size(), 1u) << vk;
    EXPECT_EQ(h.Base().Count(DrawCall::kFillRect), 0u) << vk;  // base not rebuilt
  }
  EXPECT_EQ(h.kb.KeyStateEntry(144), 1);
}

TEST_F(KeyboardLoaded, RedrawWhilePaintingIsOffOnlyMarksTheBaseStale) {
  h.kb.Picture().SetPaintingEnabled(false);
  h.kb.Picture().Redraw(false);
  h.kb.Picture().Redraw(true);
  h.kb.Picture().CopyToScreen();
  EXPECT_TRUE(h.Base().calls.empty());
  EXPECT_TRUE(h.Work().calls.empty());
  EXPECT_TRUE(h.screen.copies.empty());

  h.kb.Picture().SetPaintingEnabled(true);  // the base was marked stale: rebuilt
  EXPECT_EQ(h.Base().Count(DrawCall::kFillRect), 1u);
  EXPECT_EQ(h.screen.copies.size(), 1u);

  h.ForgetCalls();
  h.kb.Picture().SetPaintingEnabled(true);  // unchanged: nothing
  EXPECT_TRUE(h.screen.copies.empty());
}

TEST_F(KeyboardLoaded, RebuildFillsTheBaseWithTheBackgroundColors) {
  h.theme.BackColor = Rgb(1, 2, 3);
  h.theme.BackPenColor = Rgb(4, 5, 6);
  h.kb.Picture().Redraw(true);
  const auto fills = h.Base().Of(DrawCall::kFillRect);
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].rect, (Rect{0, 0, 441, 181}));
  EXPECT_EQ(fills[0].brush, Rgb(1, 2, 3));
  EXPECT_EQ(fills[0].pen, Rgb(4, 5, 6));
  // Every key with an outline paints it on the base, once.
  EXPECT_EQ(h.Base().Count(DrawCall::kPolygon), 75u);
  EXPECT_EQ(h.Work().Of(DrawCall::kBlit).at(0).rect, (Rect{0, 0, 441, 181}));

  h.ForgetCalls();
  h.kb.Picture().Redraw(false);
  EXPECT_TRUE(h.Base().calls.empty());
  EXPECT_EQ(h.Work().Count(DrawCall::kBlit), 1u);
}

TEST_F(KeyboardLoaded, CopyToScreenCopiesTheScreenRectangle) {
  h.screen.width = 300;
  h.screen.height = 120;
  h.kb.Picture().CopyToScreen();
  EXPECT_EQ(h.screen.copies, std::vector<Rect>{(Rect{0, 0, 300, 120})});
}

TEST_F(KeyboardLoaded, BackgroundFaceDrawnAsColorIsStoredAndRebuildsTheBase) {
  h.theme.RestFace = kBackgroundFace;
  h.kb.Picture().SetBackgroundFaceDrawnAsColor(true);
  EXPECT_TRUE(h.kb.Picture().BackgroundFaceDrawnAsColor());
  EXPECT_EQ(h.Base().Count(DrawCall::kFillRect), 1u);
  EXPECT_EQ(h.Base().Of(DrawCall::kPolygon).at(0).brush, kBackgroundFace) << "a face, not a marker";
}

// --- Hover -------------------------------------------------------------------

TEST(KeyboardHover, LowestCodeWinsAndMovingInsideCopiesNothing) {
  KeyboardHarness h;
  const std::string text = KeyLine(66, 0, 0, 40, 30) + "\r\n" + KeyLine(65, 20, 0, 60, 30) +
                           "\r\n" + KeyLine(67, 0, 40, 40, 70);
  ASSERT_TRUE(h.kb.LoadLayoutText("t", text));
  h.ForgetCalls();
  // The one hit test the hover and a press share.
  for (const auto& [x, y, vk] : {std::tuple{30, 15, 65}, {10, 15, 66}, {20, 50, 67}, {50, 50, 0}}) {
    const KeyHit hit = h.kb.KeyAt(x, y);
    EXPECT_EQ(hit.key, h.kb.KeyFor(vk)) << x << "," << y;
    EXPECT_FALSE(hit.secondPart);
  }

  h.kb.TrackPointer(30, 15);  // inside both 65 and 66
  EXPECT_EQ(h.kb.HoverKey(), h.kb.KeyFor(65));
  EXPECT_TRUE(h.kb.KeyFor(65)->IsHot());
  EXPECT_FALSE(h.kb.KeyFor(66)->IsHot());
  EXPECT_EQ(h.screen.copies.size(), 1u);

  h.ForgetCalls();
  h.kb.TrackPointer(22, 5);  // still in 65
  h.kb.TrackPointer(59, 30);
  EXPECT_TRUE(h.screen.copies.empty());
  EXPECT_TRUE(h.Work().calls.empty());

  h.kb.TrackPointer(10, 15);  // 66 only
  EXPECT_EQ(h.kb.HoverKey(), h.kb.KeyFor(66));
  EXPECT_FALSE(h.kb.KeyFor(65)->IsHot());
  EXPECT_EQ(h.screen.copies.size(), 1u);

  h.kb.TrackPointer(50, 50);  // no key: hover cleared, still one copy
  EXPECT_EQ(h.kb.HoverKey(), nullptr);
  EXPECT_FALSE(h.kb.KeyFor(66)->IsHot());
  EXPECT_EQ(h.screen.copies.size(), 2u);
}

// The part under the pointer is the one sent and the one the marks are on,
// also after a jump from one part to the other that never leaves the key.
TEST(KeyboardHover, TheHitPartIsSentAndCarriesTheMarks) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayoutText(
      "t", "13=0,20;20,20;20,0;0,0;-1,-1;40,20;60,20;60,0;40,0\r\n46=100,20;120,20;120,0;100,0"));
  Key& enter = *h.kb.KeyFor(13);
  for (const auto& [x, secondPart] : {std::pair{10, false}, {50, true}}) {
    EXPECT_EQ(h.kb.KeyAt(x, 10).key, &enter);
    EXPECT_EQ(h.kb.KeyAt(x, 10).secondPart, secondPart);
  }
  // The last bar drawn, and whether its key's face was filled before it.
  const auto lastBar = [&h] {
    const auto& calls = h.Work().calls;
    const auto bar = std::find_if(calls.rbegin(), calls.rend(),
                                  [](const DrawCall& c) { return c.kind == DrawCall::kFillRect; });
    EXPECT_NE(bar, calls.rend());
    const bool faceFirst = std::any_of(bar, calls.rend(), [](const DrawCall& c) {
      return c.kind == DrawCall::kPolygon || c.kind == DrawCall::kRoundRect;
    });
    EXPECT_TRUE(faceFirst);
    return bar == calls.rend() ? Rect{} : bar->rect;
  };
  const auto inFirstPart = [](const Rect& r) { return r.left >= 0 && r.right <= 20; };
  const auto inSecondPart = [](const Rect& r) { return r.left >= 40 && r.right <= 60; };

  h.kb.TrackPointer(50, 10);
  EXPECT_TRUE(enter.SendsExtended());
  enter.SetHoverProgress(500);
  EXPECT_TRUE(inSecondPart(lastBar()));

  h.ForgetCalls();
  h.kb.TrackPointer(10, 10);  // straight to the main part
  EXPECT_FALSE(enter.SendsExtended());
  EXPECT_TRUE(inFirstPart(lastBar()));
  EXPECT_FALSE(h.screen.copies.empty()) << "the moved bar reaches the screen";
  h.kb.TrackPointer(50, 10);
  EXPECT_TRUE(enter.SendsExtended());
  EXPECT_TRUE(inSecondPart(lastBar()));

  h.ForgetCalls();
  h.kb.TrackPointer(52, 12);  // the same part: nothing to draw
  EXPECT_TRUE(h.Work().calls.empty());
  h.kb.TrackPointer(110, 10);
  EXPECT_TRUE(h.kb.KeyFor(46)->SendsExtended());
}

TEST(KeyboardHover, ClearHotCopiesOnlyWhenAsked) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.ForgetCalls();
  h.kb.ClearHot(true);  // no hover key: nothing
  EXPECT_TRUE(h.screen.copies.empty());

  h.kb.TrackPointer(15, 15);
  ASSERT_EQ(h.kb.HoverKey(), h.kb.KeyFor(27));
  h.ForgetCalls();
  h.kb.ClearHot(false);
  EXPECT_TRUE(h.screen.copies.empty());
  EXPECT_FALSE(h.kb.KeyFor(27)->IsHot());

  h.kb.TrackPointer(15, 15);
  h.ForgetCalls();
  h.kb.ClearHot(true);
  EXPECT_EQ(h.screen.copies.size(), 1u);
}

// --- First show --------------------------------------------------------------

TEST(KeyboardShow, FirstShowReleasesHeldModifiersOnce) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.kb.KeyFor(65)->SetDown(true);
  h.kb.KeyFor(160)->SetDown(true);  // latched in the model
  h.sender.systemState[162] = 0x80;
  h.sender.systemState[17] = 0x80;
  h.sender.systemState[20] = 0x01;
  h.ForgetCalls();

  h.kb.SetShown(true);
  EXPECT_EQ(h.sender.sent,
            (std::vector<KeyEvent>{{162, 0x1D, kKeyEventKeyUp, 0, kOwnKeyEventMark}}));
  EXPECT_EQ(h.kb.KeyStateEntry(17), 0);
  EXPECT_EQ(h.kb.KeyStateEntry(162), 0);
  EXPECT_EQ(h.kb.KeyStateEntry(160), 0);
  EXPECT_EQ(h.kb.KeyStateEntry(20), 1);  // the real Caps Lock state
  EXPECT_FALSE(h.kb.IsKeyDown(65));
  EXPECT_FALSE(h.kb.IsKeyDown(160));
  EXPECT_FALSE(h.screen.copies.empty());

  h.ForgetCalls();
  h.kb.SetShown(true);
  EXPECT_TRUE(h.sender.sent.empty());
  EXPECT_TRUE(h.screen.copies.empty());
}

TEST(KeyboardShow, TheForgottenHoverKeyLosesItsHotLook) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.kb.TrackPointer(15, 15);
  ASSERT_TRUE(h.kb.KeyFor(27)->IsHot());
  h.kb.SetShown(true);
  EXPECT_EQ(h.kb.HoverKey(), nullptr);
  EXPECT_FALSE(h.kb.KeyFor(27)->IsHot());
}

// --- Size and release --------------------------------------------------------

TEST(KeyboardSize, SetSizeResizesModelAndWorkingImage) {
  KeyboardHarness h;
  h.kb.SetSize(790, 271);
  EXPECT_EQ(h.kb.Width(), 790);
  EXPECT_EQ(h.kb.Height(), 271);
  EXPECT_EQ(h.Work().Width(), 790);
  EXPECT_EQ(h.Work().Height(), 271);
  h.kb.SetSize(-1, -5);  // meaningless for an image: held at 0
  EXPECT_EQ(h.kb.Width(), 0);
  EXPECT_EQ(h.Work().Height(), 0);
  // The next redraw gives the base image the model's size.
  h.kb.SetSize(200, 100);
  h.kb.Picture().Redraw(false);
  EXPECT_EQ(h.Base().Width(), 200);
  EXPECT_EQ(h.Base().Height(), 100);
}

TEST(KeyboardRelease, ReleaseAllSetsEveryKeyUpAndCopies) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  for (int vk : {65, 161, 20}) h.kb.KeyFor(vk)->SetDown(true);
  h.ForgetCalls();
  h.kb.ReleaseAll();
  for (int vk = 1; vk <= 255; ++vk) ASSERT_FALSE(h.kb.IsKeyDown(vk)) << vk;
  EXPECT_EQ(h.kb.KeyStateEntry(65), 0);
  EXPECT_EQ(h.kb.KeyStateEntry(16), 0);
  EXPECT_EQ(h.kb.KeyStateEntry(20), 1);  // going up leaves the toggle
  EXPECT_FALSE(h.screen.copies.empty());
  EXPECT_TRUE(h.sender.sent.empty());  // the model sends nothing itself
}

}  // namespace
}  // namespace luma
