#include "placement/Dpi.h"

#include <algorithm>
#include <limits>

#include "platform/Types.h"

namespace luma {
namespace {

std::int32_t Saturated(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t rounded = MulDivRounded(value, numerator, denominator);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      rounded, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int64_t UsableDpi(std::int32_t dpi) { return dpi > 0 ? dpi : kDesignDpi; }

}  // namespace

std::int32_t ScaleForDpi(std::int32_t value, std::int32_t dpi) {
  return Saturated(value, UsableDpi(dpi), kDesignDpi);
}

std::int32_t UnscaleFromDpi(std::int32_t value, std::int32_t dpi) {
  return Saturated(value, kDesignDpi, UsableDpi(dpi));
}

}  // namespace luma
