// The options of typing without clicking: Hover Click, its hover time and
// the click sound. Written when changed; versions that do not know them
// leave them alone.
#pragma once

#include <cstdint>

#include "settings/Settings.h"

namespace luma {

inline constexpr const char* kHoverClickValue = "HoverClick";
inline constexpr const char* kHoverTimeValue = "HoverTime";  // milliseconds
inline constexpr const char* kClickSoundValue = "ClickSound";

inline constexpr bool kDefaultHoverClick = false;
inline constexpr bool kDefaultClickSound = false;
inline constexpr std::int32_t kDefaultHoverTimeMs = 1000;
inline constexpr std::int32_t kMinHoverTimeMs = 300;
inline constexpr std::int32_t kMaxHoverTimeMs = 5000;

// "HoverTime" as the hover uses it: a time of none (missing, unreadable,
// zero or negative) is the default; any other is held to 300..5000 ms.
std::int32_t HoverTimeToUse(Settings& settings);

}  // namespace luma
