// The options the user chooses from the system menu, read as one value and
// written one at a time, each as soon as it is chosen. The names and their
// encodings are the ones earlier runs and other versions know.
#pragma once

#include <cstdint>

#include "settings/Settings.h"

namespace luma {

inline constexpr const char* kAutoClickValue = "AutoClick";
inline constexpr const char* kHoverClickValue = "HoverClick";
inline constexpr const char* kHoverTimeValue = "HoverTime";  // milliseconds
inline constexpr const char* kClickSoundValue = "ClickSound";
inline constexpr const char* kKeyboardValue = "Keyboard";
inline constexpr const char* kPredictionValue = "Prediction";
inline constexpr const char* kLearnWordsValue = "LearnWords";

inline constexpr std::int32_t kMinHoverTimeMs = 300;
inline constexpr std::int32_t kMaxHoverTimeMs = 5000;

// The keyboard chosen from the system menu, as "Keyboard" stores it.
enum class KeyboardChoice : std::int32_t { kStandard = 0, kFull = 1 };

// Each member holds its own default: what a first run uses, and what a
// missing or damaged stored value falls back to.
struct Options {
  bool keyRepeat = true;  // "Auto Click": a held key repeats
  bool hoverClick = false;
  std::int32_t hoverTimeMs = 1000;
  bool clickSound = false;
  KeyboardChoice keyboard = KeyboardChoice::kStandard;
  bool prediction = false;  // "Word Prediction": the row of suggestions
  bool learnWords = true;   // "Learn Words": words typed are learned
};

enum class Option {
  kKeyRepeat,
  kHoverClick,
  kHoverTime,
  kClickSound,
  kKeyboard,
  kPrediction,
  kLearnWords
};

// Every option as stored, the default where none is. A hover time of none
// (zero or negative) is the default, any other is held to 300..5000 ms;
// "Keyboard" is the full keyboard only for 1. Nothing is rewritten.
Options ReadOptions(Settings& settings);

// Writes the one option from options. False when the write failed.
bool WriteOption(Settings& settings, const Options& options, Option option);

}  // namespace luma
