#include "placement/SliderRect.h"

#include <algorithm>

namespace luma {

Rect SliderRect(std::int32_t areaWidth, std::int32_t areaHeight, std::int32_t rightShiftWidth,
                std::int32_t spaceBarHeight, std::int32_t dpi, SliderCorner corner) {
  // A broken layout can give a negative extent; a control cannot be sized so.
  const std::int32_t width = std::max(rightShiftWidth, 0);
  const std::int32_t height = std::clamp(spaceBarHeight, 0, ScaleForDpi(kSliderDesignHeight, dpi));
  const std::int32_t left = areaWidth - width;
  const std::int32_t top = corner == SliderCorner::TopRight ? 0 : areaHeight - height;
  return {left, top, left + width, top + height};
}

}  // namespace luma
