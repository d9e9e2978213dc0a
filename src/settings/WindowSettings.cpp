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

KeyboardChoice KeyboardToShow(Settings& settings) {
  const auto full = static_cast<std::int32_t>(KeyboardChoice::kFull);
  return settings.ReadInteger(kKeyboardValue, 0) == full ? KeyboardChoice::kFull
                                                         : KeyboardChoice::kStandard;
}

bool SaveKeyboardChoice(Settings& settings, KeyboardChoice choice) {
  return settings.WriteInteger(kKeyboardValue, static_cast<std::int32_t>(choice));
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

bool SaveWindowSettings(Settings& settings, bool autoClick, std::int32_t alphaBlend,
                        const PlacementWindow& window) {
  return settings.WriteBool(kAutoClickValue, autoClick) &&
         settings.WriteInteger(kAlphaBlendValue, alphaBlend) && SavePlacement(settings, window);
}

}  // namespace luma
