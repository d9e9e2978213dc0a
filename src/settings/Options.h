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
inline constexpr const char* kScanKeysValue = "ScanKeys";
inline constexpr const char* kScanTimeValue = "ScanTime";  // milliseconds
inline constexpr const char* kScanModeValue = "ScanMode";
inline constexpr const char* kScanRestartValue = "ScanRestart";
inline constexpr const char* kScanLockoutValue = "ScanLockout";  // milliseconds
inline constexpr const char* kScanAcceptValue = "ScanAccept";    // milliseconds
inline constexpr const char* kScanSwitchKeyValue = "ScanSwitchKey";
inline constexpr const char* kScanNextKeyValue = "ScanNextKey";
inline constexpr const char* kScanClickSwitchValue = "ScanClickSwitch";

inline constexpr std::int32_t kMinHoverTimeMs = 300;
inline constexpr std::int32_t kMaxHoverTimeMs = 5000;
inline constexpr std::int32_t kMinScanTimeMs = 300;
inline constexpr std::int32_t kMaxScanTimeMs = 5000;
inline constexpr std::int32_t kMaxScanLockoutMs = 2000;
inline constexpr std::int32_t kMaxScanAcceptMs = 1000;

// The keyboard chosen from the system menu, as "Keyboard" stores it.
enum class KeyboardChoice : std::int32_t { kStandard = 0, kFull = 1 };

// How the highlight moves while scanning: by itself every interval, picked
// with one switch; or a step per press of a second switch.
enum class ScanMode : std::int32_t { kAutomatic = 0, kStep = 1 };
// Where the scan starts again after a key or word was picked.
enum class ScanRestart : std::int32_t { kTop = 0, kSameRow = 1 };

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
  bool scanKeys = false;    // "Scan Keys": a switch picks what the highlight shows
  std::int32_t scanTimeMs = 1000;
  ScanMode scanMode = ScanMode::kAutomatic;
  ScanRestart scanRestart = ScanRestart::kTop;
  std::int32_t scanLockoutMs = 250;   // presses this soon after a pick are ignored
  std::int32_t scanAcceptMs = 0;      // a shorter hold of the switch does not count
  std::int32_t scanSwitchKey = 0x20;  // Space: the switch that picks
  std::int32_t scanNextKey = 0x0D;    // Enter: the switch that steps in step mode
  bool scanClickSwitch = false;       // a mouse press on the keys acts as the switch
};

enum class Option {
  kKeyRepeat,
  kHoverClick,
  kHoverTime,
  kClickSound,
  kKeyboard,
  kPrediction,
  kLearnWords,
  kScanKeys,
  kScanTime,
  kScanMode,
  kScanRestart,
  kScanLockout,
  kScanAccept,
  kScanSwitchKey,
  kScanNextKey,
  kScanClickSwitch
};

// Every option as stored, the default where none is. A hover time of none
// (zero or negative) is the default, any other is held to 300..5000 ms;
// "Keyboard" is the full keyboard only for 1. The scan time is held like the
// hover time, the lockout to 0..2000 ms and the acceptance to 0..1000 ms; a
// mode or restart of another number is the default, and so is a switch key
// outside 1..254. Nothing is rewritten.
Options ReadOptions(Settings& settings);

// Writes the one option from options. False when the write failed.
bool WriteOption(Settings& settings, const Options& options, Option option);

}  // namespace luma
