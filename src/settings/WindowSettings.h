// The window's own values: color scheme, transparency and the first run.
#pragma once

#include <cstdint>

#include "settings/Options.h"
#include "settings/Placement.h"
#include "settings/Settings.h"

namespace luma {

constexpr int kColorSchemeCount = 7;
constexpr std::int32_t kMinAlphaBlend = 20;
constexpr std::int32_t kMaxAlphaBlend = 255;

// The scheme to draw with: "Colors" when it is 1..7, else scheme 1, so a
// hand-edited value never leaves the keyboard without colors. The stored
// value is not rewritten.
int ColorSchemeToShow(Settings& settings);

// "Change Colors": the stored number plus one, 1 after 7, written at once.
// A stored number outside 1..6 goes to 1, which cannot overflow. Returns
// the scheme to show now; the old one when the write failed.
int ChangeColorScheme(Settings& settings);

// "AlphaBlend" as the slider shows it: clamped to 20..255.
std::int32_t AlphaBlendToShow(Settings& settings);

// True on the first run, once: "Site" is then set before the caller does
// its first-run action, so a failing action is not repeated.
bool MarkFirstRunDone(Settings& settings);

// What the window leaves behind when it is destroyed, after every held key
// has been released: "AutoClick" once more (files of earlier runs have it
// there), "AlphaBlend", then the placement. Stops at the first failed write,
// which has been reported; false then.
bool SaveWindowSettings(Settings& settings, const Options& options, std::int32_t alphaBlend,
                        const PlacementWindow& window);

}  // namespace luma
