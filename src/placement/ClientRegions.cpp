#include "placement/ClientRegions.h"

#include <algorithm>

namespace luma {

ClientRegions LayOutClient(std::int32_t width, std::int32_t height, std::int32_t rowHeight) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const std::int32_t row = std::clamp(rowHeight, 0, height);
  return {row > 0 ? Rect{0, 0, width, row} : Rect{}, Rect{0, row, width, height}};
}

}  // namespace luma
