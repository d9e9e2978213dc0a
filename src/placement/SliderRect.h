// Where the transparency slider stands in the client area.
#pragma once

#include <cstdint>

#include "placement/Dpi.h"
#include "platform/Types.h"

namespace luma {

// The slider's size in design pixels where no keyboard gives it one.
inline constexpr std::int32_t kSliderDesignWidth = 62;
inline constexpr std::int32_t kSliderDesignHeight = 24;

// The corner of the client area a layout leaves free for the slider.
enum class SliderCorner { BottomRight, TopRight };

// Transparency slider in the free corner of the keys' area (areaWidth by
// areaHeight), as wide as the right Shift key and no taller than the space
// bar or kSliderDesignHeight.
Rect SliderRect(std::int32_t areaWidth, std::int32_t areaHeight, std::int32_t rightShiftWidth,
                std::int32_t spaceBarHeight, std::int32_t dpi = kDesignDpi,
                SliderCorner corner = SliderCorner::BottomRight);

}  // namespace luma
