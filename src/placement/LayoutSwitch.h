// The window's size when the keyboard changes to a layout of another design
// width: the keys keep their size.
#pragma once

#include <cstdint>

namespace luma {

// The client width in the ratio of the two design widths, to the nearest
// pixel; the width as it is when either design width is not positive.
std::int32_t SwitchedClientWidth(std::int32_t clientWidth, std::int32_t fromDesignWidth,
                                 std::int32_t toDesignWidth);

}  // namespace luma
