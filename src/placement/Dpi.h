// Lengths that the window's design gives in pixels are pixels at 96 DPI; on a
// screen of another DPI they are scaled, so that the keyboard looks the same
// at every scale and exactly as designed at 100 %.
#pragma once

#include <cstdint>

namespace luma {

inline constexpr std::int32_t kDesignDpi = 96;

// A design length at dpi, rounded to the nearest pixel with halves away from
// zero, as MulDiv(value, dpi, 96) rounds. A dpi of 0 or less counts as 96;
// results beyond the 32-bit range saturate.
std::int32_t ScaleForDpi(std::int32_t value, std::int32_t dpi);

// The other way: a length at dpi in design pixels, rounded the same way.
std::int32_t UnscaleFromDpi(std::int32_t value, std::int32_t dpi);

}  // namespace luma
