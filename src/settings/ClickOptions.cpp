#include "settings/ClickOptions.h"

#include <algorithm>

namespace luma {

std::int32_t HoverTimeToUse(Settings& settings) {
  const std::int32_t stored = settings.ReadInteger(kHoverTimeValue, kDefaultHoverTimeMs);
  if (stored <= 0) return kDefaultHoverTimeMs;
  return std::clamp(stored, kMinHoverTimeMs, kMaxHoverTimeMs);
}

}  // namespace luma
