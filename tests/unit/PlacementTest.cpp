// What the window saves and restores of itself, and its own values: color
// scheme, Change Colors, transparency, the first run. Over a map of values
// that records every write.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "SettingsFakes.h"
#include "placement/LayoutSwitch.h"
#include "settings/Placement.h"
#include "settings/WindowSettings.h"

namespace luma {
namespace {

using Lines = std::vector<std::string>;

PlacementWindow Window(WindowShowState state, bool restoresToMaximized = false) {
  PlacementWindow window;
  window.left = 10;
  window.top = 700;
  window.width = 800;
  window.height = 280;
  window.state = state;
  window.restoresToMaximized = restoresToMaximized;
  return window;
}

TEST(PlacementTest, SavesTheNormalRectangleOrOnlyTheMaximisedState) {
  const Lines normal{"TMainFormTop=700", "TMainFormLeft=10", "TMainFormHeight=280",
                     "TMainFormWidth=800", "TMainFormState=0"};
  const struct {
    const char* name;
    PlacementWindow window;
    Lines writes;
  } cases[] = {
      {"normal", Window(WindowShowState::kNormal), normal},
      {"maximised", Window(WindowShowState::kMaximized), {"TMainFormState=1"}},
      {"minimised from maximised", Window(WindowShowState::kMinimized, true), {"TMainFormState=1"}},
      // A minimised keyboard comes back normal, where it was before.
      {"minimised from normal", Window(WindowShowState::kMinimized), normal},
  };
  for (const auto& c : cases) {
    fakes::MemorySettings settings;
    EXPECT_TRUE(SavePlacement(settings, c.window));
    EXPECT_EQ(settings.writes, c.writes) << c.name;
  }

  PlacementWindow noMaximizeBox = Window(WindowShowState::kNormal);
  noMaximizeBox.maximizeBox = false;
  noMaximizeBox.className = "TOther";
  fakes::MemorySettings settings;
  SavePlacement(settings, noMaximizeBox);
  EXPECT_EQ(settings.writes, (Lines{"TOtherTop=700", "TOtherLeft=10", "TOtherState=0"}));
}

TEST(PlacementTest, StopsAtTheFirstFailedWrite) {
  fakes::MemorySettings settings;
  settings.failAtWrite = 1;
  EXPECT_FALSE(SavePlacement(settings, Window(WindowShowState::kNormal)));
  EXPECT_EQ(settings.writes, (Lines{"TMainFormTop=700"}));
}

TEST(PlacementTest, RestoresSavedValuesOverTheCurrentOnes) {
  fakes::MemorySettings settings;
  EXPECT_EQ(RestorePlacement(settings, Window(WindowShowState::kNormal)),
            (RestoredPlacement{10, 700, 800, 280, false}));

  settings.values = {{"TMainFormState", 2},
                     {"TMainFormTop", -5},
                     {"TMainFormLeft", 3000},
                     {"TMainFormHeight", 90},
                     {"TMainFormWidth", 120}};
  EXPECT_EQ(RestorePlacement(settings, Window(WindowShowState::kNormal)),
            (RestoredPlacement{3000, -5, 120, 90, true}));

  PlacementWindow fixed = Window(WindowShowState::kNormal);
  fixed.sizeableBorder = false;
  fixed.maximizeBox = false;
  EXPECT_EQ(RestorePlacement(settings, fixed), (RestoredPlacement{3000, -5, 800, 280, false}));

  settings.values = {{"TMainFormTop", 1}};
  EXPECT_EQ(RestorePlacement(settings, Window(WindowShowState::kNormal)),
            (RestoredPlacement{10, 1, 800, 280, false}));
  EXPECT_TRUE(settings.writes.empty());
}

TEST(WindowSettingsTest, ColorSchemeOutsideTheSevenShowsSchemeOneWithoutRewriting) {
  const struct {
    std::optional<std::int32_t> stored;
    int shown;
  } cases[] = {{std::nullopt, 1}, {1, 1}, {4, 4}, {7, 7}, {0, 1}, {8, 1}, {-3, 1}, {INT_MAX, 1}};
  for (const auto& c : cases) {
    fakes::MemorySettings settings;
    if (c.stored) settings.values["Colors"] = *c.stored;
    EXPECT_EQ(ColorSchemeToShow(settings), c.shown);
    EXPECT_TRUE(settings.writes.empty());
  }
}

TEST(WindowSettingsTest, ChangeColorsStepsThroughTheSevenAndWritesAtOnce) {
  fakes::MemorySettings settings;
  std::vector<int> shown;
  for (int i = 0; i < 8; ++i) shown.push_back(ChangeColorScheme(settings));
  EXPECT_EQ(shown, (std::vector<int>{2, 3, 4, 5, 6, 7, 1, 2}));
  EXPECT_EQ(settings.writes.front(), "Colors=2");
  EXPECT_EQ(settings.writes[6], "Colors=1");

  for (const std::int32_t stored : {INT_MAX, INT_MIN, 0, 8, -1}) {
    settings.values["Colors"] = stored;
    EXPECT_EQ(ChangeColorScheme(settings), 1) << stored;
    EXPECT_EQ(settings.values["Colors"], 1);
  }

  // A write that does not stick leaves the scheme as it was.
  settings.values["Colors"] = 3;
  settings.failAtWrite = 0;
  EXPECT_EQ(ChangeColorScheme(settings), 3);
}

TEST(WindowSettingsTest, TransparencyIsClampedAndTheFirstRunHappensOnce) {
  const struct {
    std::optional<std::int32_t> stored;
    std::int32_t shown;
  } cases[] = {{std::nullopt, 255}, {5, 20}, {20, 20}, {254, 254}, {300, 255}, {INT_MIN, 20}};
  for (const auto& c : cases) {
    fakes::MemorySettings settings;
    if (c.stored) settings.values["AlphaBlend"] = *c.stored;
    EXPECT_EQ(AlphaBlendToShow(settings), c.shown);
  }

  fakes::MemorySettings settings;
  EXPECT_TRUE(MarkFirstRunDone(settings));
  EXPECT_FALSE(MarkFirstRunDone(settings));
  EXPECT_EQ(settings.writes, (Lines{"Site=1"}));
}

TEST(WindowSettingsTest, ExitWritesOptionsThenPlacementAndStopsAtAFailure) {
  fakes::MemorySettings settings;
  Options options;
  options.keyRepeat = false;
  EXPECT_TRUE(SaveWindowSettings(settings, options, 200, Window(WindowShowState::kMaximized)));
  EXPECT_EQ(settings.writes, (Lines{"AutoClick=0", "AlphaBlend=200", "TMainFormState=1"}));

  fakes::MemorySettings failing;
  failing.failAtWrite = 0;
  EXPECT_FALSE(SaveWindowSettings(failing, Options{}, 255, Window(WindowShowState::kNormal)));
  EXPECT_TRUE(failing.writes.empty());
}

TEST(LayoutSwitchTest, ClientWidthFollowsTheDesignWidthsAndComesBackAtEveryScale) {
  // Standard is 441 wide, Full 671; the client widths of each at a scale.
  const struct {
    std::int32_t standard, full;
  } scales[] = {{441, 671}, {551, 838}, {662, 1007}, {882, 1342}, {300, 456}, {1280, 1948}};
  for (const auto& s : scales) {
    EXPECT_EQ(SwitchedClientWidth(s.standard, 441, 671), s.full) << s.standard;
    EXPECT_EQ(SwitchedClientWidth(s.full, 671, 441), s.standard) << s.full;
  }
  // Nothing to scale by: the width stays; a huge one does not overflow.
  EXPECT_EQ(SwitchedClientWidth(500, 0, 671), 500);
  EXPECT_EQ(SwitchedClientWidth(500, 441, -3), 500);
  EXPECT_EQ(SwitchedClientWidth(INT_MAX, 441, 671), INT_MAX);
  EXPECT_EQ(SwitchedClientWidth(-20, 441, 671), 0);
}

}  // namespace
}  // namespace luma
