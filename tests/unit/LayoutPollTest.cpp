#include <gtest/gtest.h>

#include <string>

#include "Fakes.h"
#include "KeyboardHarness.h"
#include "foreground/LayoutPoll.h"
#include "keys/VirtualKeys.h"

namespace luma {
namespace {

constexpr Hkl kGerman = 0x04070407;

// A shown keyboard in US English, its poll on a timer the test drives.
struct PollHarness : test::KeyboardHarness {
  fakes::FakeTimer timer;
  fakes::FakeForegroundLayout foreground;
  LayoutPoll poll{kb, timer, foreground};

  PollHarness() {
    layouts.layouts[kUsEnglishHkl];
    layouts.layouts[kGerman];
    layouts.installed = {kUsEnglishHkl, kGerman};
    theme.KeyFontLarge.Size = 10;
    EXPECT_TRUE(kb.LoadLayout("Standard"));
    kb.SetShown(true);
    timer.onTick = [this] { poll.Tick(); };
  }
  // Everything a tick could cost beyond reading the layout.
  std::size_t Cost() {
    return layouts.calls.size() + static_cast<std::size_t>(layouts.toUnicodeCalls) +
           screen.copies.size() + Base().calls.size() + Work().calls.size();
  }
};

TEST(LayoutPoll, ReadsEveryIntervalAndDoesNothingMoreWhileTheLayoutStays) {
  PollHarness h;
  h.poll.Resume();
  EXPECT_EQ(h.foreground.reads, 1) << "read at once";
  EXPECT_TRUE(h.timer.Running());
  EXPECT_EQ(h.timer.interval, LayoutPoll::kIntervalMs);

  const std::size_t cost = h.Cost();
  h.timer.Advance(3000);
  EXPECT_EQ(h.foreground.reads, 11);
  EXPECT_EQ(h.Cost(), cost) << "no placement, translation, redraw or copy";

  h.foreground.hkl = kGerman;
  h.timer.Advance(299);
  EXPECT_EQ(h.kb.Captions().CurrentLayout(), kUsEnglishHkl);
  h.timer.Advance(1);
  EXPECT_EQ(h.kb.Captions().CurrentLayout(), kGerman);
  EXPECT_GT(h.screen.copies.size(), 0u) << "the new captions are shown";
}

TEST(LayoutPoll, NoTimerWhileMinimisedAndTheLayoutReadAtOnceOnRestore) {
  PollHarness h;
  h.poll.Resume();
  h.poll.Pause();
  EXPECT_FALSE(h.timer.Running());
  h.foreground.hkl = kGerman;
  h.timer.Advance(60000);
  EXPECT_EQ(h.foreground.reads, 1);
  EXPECT_EQ(h.kb.Captions().CurrentLayout(), kUsEnglishHkl);

  h.poll.Resume();
  EXPECT_EQ(h.kb.Captions().CurrentLayout(), kGerman) << "before the first tick";
  EXPECT_TRUE(h.timer.Running());

  // Resuming a running poll (any size change of a visible window) neither
  // reads nor restarts the interval.
  const auto starts = h.timer.starts.size();
  h.timer.Advance(200);
  h.poll.Resume();
  EXPECT_EQ(h.foreground.reads, 2);
  EXPECT_EQ(h.timer.starts.size(), starts);
  h.timer.Advance(100);
  EXPECT_EQ(h.foreground.reads, 3);
}

TEST(LayoutPoll, FollowsTheSystemsLockTogglesRedrawingOnlyOnAChange) {
  PollHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Full"));
  h.poll.Resume();
  for (const int vk : {kVkNumLock, kVkCapsLock, kVkScrollLock}) {
    for (const std::uint8_t toggled : {1, 0}) {
      SCOPED_TRACE(std::to_string(vk) + " " + std::to_string(toggled));
      h.sender.systemState[static_cast<std::size_t>(vk)] = toggled;
      const std::size_t copies = h.screen.copies.size();
      h.timer.Advance(LayoutPoll::kIntervalMs);
      EXPECT_EQ(h.kb.KeyStateEntry(vk), toggled);
      EXPECT_GT(h.screen.copies.size(), copies) << "redrawn";
      const std::size_t cost = h.Cost();
      h.timer.Advance(LayoutPoll::kIntervalMs * 3);
      EXPECT_EQ(h.Cost(), cost) << "nothing new, no redraw";
      // What the pad's 7 sends, and so shows: Home with Num Lock off.
      if (vk == kVkNumLock) {
        EXPECT_EQ(h.kb.Captions().SentCode(kVkNumpad0 + 7), toggled ? kVkNumpad0 + 7 : 36);
      }
    }
  }
}

}  // namespace
}  // namespace luma
