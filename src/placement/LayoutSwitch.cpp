#include "placement/LayoutSwitch.h"

#include <algorithm>
#include <limits>

namespace luma {

std::int32_t SwitchedClientWidth(std::int32_t clientWidth, std::int32_t fromDesignWidth,
                                 std::int32_t toDesignWidth) {
  if (fromDesignWidth <= 0 || toDesignWidth <= 0) return clientWidth;
  // 64 bits: a large window times a large design width overflows 32.
  const std::int64_t scaled =
      (std::int64_t{clientWidth} * toDesignWidth * 2 + fromDesignWidth) / (2 * fromDesignWidth);
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(scaled, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace luma
