#include "settings/Options.h"

#include <algorithm>

namespace luma {
namespace {

std::int32_t HoverTimeToUse(Settings& settings, std::int32_t defaultMs) {
  const std::int32_t stored = settings.ReadInteger(kHoverTimeValue, defaultMs);
  if (stored <= 0) return defaultMs;
  return std::clamp(stored, kMinHoverTimeMs, kMaxHoverTimeMs);
}

KeyboardChoice KeyboardToShow(Settings& settings) {
  const auto full = static_cast<std::int32_t>(KeyboardChoice::kFull);
  return settings.ReadInteger(kKeyboardValue, 0) == full ? KeyboardChoice::kFull
                                                         : KeyboardChoice::kStandard;
}

}  // namespace

Options ReadOptions(Settings& settings) {
  const Options defaults;
  Options options;
  options.keyRepeat = settings.ReadBool(kAutoClickValue, defaults.keyRepeat);
  options.hoverClick = settings.ReadBool(kHoverClickValue, defaults.hoverClick);
  options.hoverTimeMs = HoverTimeToUse(settings, defaults.hoverTimeMs);
  options.clickSound = settings.ReadBool(kClickSoundValue, defaults.clickSound);
  options.keyboard = KeyboardToShow(settings);
  options.prediction = settings.ReadBool(kPredictionValue, defaults.prediction);
  options.learnWords = settings.ReadBool(kLearnWordsValue, defaults.learnWords);
  return options;
}

bool WriteOption(Settings& settings, const Options& options, Option option) {
  switch (option) {
    case Option::kKeyRepeat:
      return settings.WriteBool(kAutoClickValue, options.keyRepeat);
    case Option::kHoverClick:
      return settings.WriteBool(kHoverClickValue, options.hoverClick);
    case Option::kHoverTime:
      return settings.WriteInteger(kHoverTimeValue, options.hoverTimeMs);
    case Option::kClickSound:
      return settings.WriteBool(kClickSoundValue, options.clickSound);
    case Option::kKeyboard:
      return settings.WriteInteger(kKeyboardValue, static_cast<std::int32_t>(options.keyboard));
    case Option::kPrediction:
      return settings.WriteBool(kPredictionValue, options.prediction);
    case Option::kLearnWords:
      return settings.WriteBool(kLearnWordsValue, options.learnWords);
  }
  return false;
}

}  // namespace luma
