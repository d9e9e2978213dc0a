// The caption fonts' sizes, which follow the keys.
#pragma once

#include <cstdint>

#include "placement/Dpi.h"

namespace luma {

// Caption font sizes in points, from the Escape key's extents in pixels.
// GDI turns points into pixels at fontDpi, so the extents are first taken
// back to design pixels: the labels then grow with the keys alone. Never
// below 0 nor above 65535: the theme stores them as unsigned 16-bit sizes.
struct KeyFontSizes {
  std::uint16_t large = 0;
  std::uint16_t small = 0;
  friend bool operator==(const KeyFontSizes&, const KeyFontSizes&) = default;
};
KeyFontSizes FitKeyFontSizes(std::int32_t escapeWidth, std::int32_t escapeHeight,
                             std::int32_t fontDpi = kDesignDpi);

}  // namespace luma
