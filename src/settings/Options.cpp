#include "settings/Options.h"

#include <algorithm>

namespace luma {
namespace {

// A time that must pass: none or less is the default, the rest held to its range.
std::int32_t TimeToUse(Settings& settings, const char* name, std::int32_t defaultMs,
                       std::int32_t minMs, std::int32_t maxMs) {
  const std::int32_t stored = settings.ReadInteger(name, defaultMs);
  if (stored <= 0) return defaultMs;
  return std::clamp(stored, minMs, maxMs);
}

KeyboardChoice KeyboardToShow(Settings& settings) {
  const auto full = static_cast<std::int32_t>(KeyboardChoice::kFull);
  return settings.ReadInteger(kKeyboardValue, 0) == full ? KeyboardChoice::kFull
                                                         : KeyboardChoice::kStandard;
}

std::int32_t HeldTo(Settings& settings, const char* name, std::int32_t defaultMs,
                    std::int32_t maxMs) {
  return std::clamp(settings.ReadInteger(name, defaultMs), 0, maxMs);
}

// An enumeration's number as stored; any other number is its default.
template <typename Enum>
Enum OneOf(Settings& settings, const char* name, Enum defaultValue, Enum other) {
  const std::int32_t stored = settings.ReadInteger(name, static_cast<std::int32_t>(defaultValue));
  return stored == static_cast<std::int32_t>(other) ? other : defaultValue;
}

// A virtual-key code the hook can see; 0 and 255 name no key.
std::int32_t SwitchKey(Settings& settings, const char* name, std::int32_t defaultVk) {
  const std::int32_t stored = settings.ReadInteger(name, defaultVk);
  return stored >= 1 && stored <= 254 ? stored : defaultVk;
}

}  // namespace

Options ReadOptions(Settings& settings) {
  const Options defaults;
  Options options;
  options.keyRepeat = settings.ReadBool(kAutoClickValue, defaults.keyRepeat);
  options.hoverClick = settings.ReadBool(kHoverClickValue, defaults.hoverClick);
  options.hoverTimeMs =
      TimeToUse(settings, kHoverTimeValue, defaults.hoverTimeMs, kMinHoverTimeMs, kMaxHoverTimeMs);
  options.clickSound = settings.ReadBool(kClickSoundValue, defaults.clickSound);
  options.keyboard = KeyboardToShow(settings);
  options.prediction = settings.ReadBool(kPredictionValue, defaults.prediction);
  options.learnWords = settings.ReadBool(kLearnWordsValue, defaults.learnWords);
  options.scanKeys = settings.ReadBool(kScanKeysValue, defaults.scanKeys);
  options.scanTimeMs =
      TimeToUse(settings, kScanTimeValue, defaults.scanTimeMs, kMinScanTimeMs, kMaxScanTimeMs);
  options.scanMode = OneOf(settings, kScanModeValue, defaults.scanMode, ScanMode::kStep);
  options.scanRestart =
      OneOf(settings, kScanRestartValue, defaults.scanRestart, ScanRestart::kSameRow);
  options.scanLockoutMs =
      HeldTo(settings, kScanLockoutValue, defaults.scanLockoutMs, kMaxScanLockoutMs);
  options.scanAcceptMs =
      HeldTo(settings, kScanAcceptValue, defaults.scanAcceptMs, kMaxScanAcceptMs);
  options.scanSwitchKey = SwitchKey(settings, kScanSwitchKeyValue, defaults.scanSwitchKey);
  options.scanNextKey = SwitchKey(settings, kScanNextKeyValue, defaults.scanNextKey);
  options.scanClickSwitch = settings.ReadBool(kScanClickSwitchValue, defaults.scanClickSwitch);
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
    case Option::kScanKeys:
      return settings.WriteBool(kScanKeysValue, options.scanKeys);
    case Option::kScanTime:
      return settings.WriteInteger(kScanTimeValue, options.scanTimeMs);
    case Option::kScanMode:
      return settings.WriteInteger(kScanModeValue, static_cast<std::int32_t>(options.scanMode));
    case Option::kScanRestart:
      return settings.WriteInteger(kScanRestartValue,
                                   static_cast<std::int32_t>(options.scanRestart));
    case Option::kScanLockout:
      return settings.WriteInteger(kScanLockoutValue, options.scanLockoutMs);
    case Option::kScanAccept:
      return settings.WriteInteger(kScanAcceptValue, options.scanAcceptMs);
    case Option::kScanSwitchKey:
      return settings.WriteInteger(kScanSwitchKeyValue, options.scanSwitchKey);
    case Option::kScanNextKey:
      return settings.WriteInteger(kScanNextKeyValue, options.scanNextKey);
    case Option::kScanClickSwitch:
      return settings.WriteBool(kScanClickSwitchValue, options.scanClickSwitch);
  }
  return false;
}

}  // namespace luma
