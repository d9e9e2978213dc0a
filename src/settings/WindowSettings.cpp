#include "settings/WindowSettings.h"

#include <algorithm>

namespace luma {
namespace {

bool IsColorScheme(std::int32_t n) { return n >= 1 && n <= kColorSchemeCount; }

}  // namespace

int ColorSchemeToShow(Settings& settings) {
  const std::int32_t stored = settings.ReadInteger(kColorsValue, 1);
  return IsColorScheme(stored) ? stored : 1;
}

int ChangeColorScheme(Settings& settings) {
  const std::int32_t stored = settings.ReadInteger(kColorsValue, 1);
  const std::int32_t next = stored >= 1 && stored < kColorSchemeCount ? stored + 1 : 1;
  settings.WriteInteger(kColorsValue, next);
  // Read back: with a read-only key nothing changed, and the scheme stays.
  return ColorSchemeToShow(settings);
}

std::int32_t AlphaBlendToShow(Settings& settings) {
  return std::clamp(settings.ReadInteger(kAlphaBlendValue, kMaxAlphaBlend), kMinAlphaBlend,
                    kMaxAlphaBlend);
}

bool MarkFirstRunDone(Settings& settings) {
  if (settings.ReadBool(kFirstRunDoneValue, false)) return false;
  settings.WriteBool(kFirstRunDoneValue, true);
  return true;
}

bool SaveWindowSettings(Settings& settings, const Options& options, std::int32_t alphaBlend,
                        const PlacementWindow& window) {
  return WriteOption(settings, options, Option::kKeyRepeat) &&
         settings.WriteInteger(kAlphaBlendValue, alphaBlend) && SavePlacement(settings, window);
}

}  // namespace luma
