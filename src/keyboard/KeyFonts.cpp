#include "keyboard/KeyFonts.h"

#include <algorithm>

namespace luma {

KeyFontSizes FitKeyFontSizes(std::int32_t escapeWidth, std::int32_t escapeHeight,
                             std::int32_t fontDpi) {
  escapeWidth = UnscaleFromDpi(escapeWidth, fontDpi);
  escapeHeight = UnscaleFromDpi(escapeHeight, fontDpi);
  const std::int64_t fitted =
      std::min<std::int64_t>(escapeWidth / 3, static_cast<std::int64_t>(escapeHeight) - 10);
  const std::int64_t large = std::clamp<std::int64_t>(fitted, 0, 0xFFFF);
  const std::int64_t small = std::max<std::int64_t>(large - 2, 0);
  return {static_cast<std::uint16_t>(large), static_cast<std::uint16_t>(small)};
}

}  // namespace luma
