// How the client area is shared: a row of items along the top (none yet
// when its height is 0) and the keys below it, keeping the rest.
#pragma once

#include <cstdint>

#include "platform/Types.h"

namespace luma {

struct ClientRegions {
  Rect itemRow;  // empty when there is no row
  Rect keys;
};

// A row taller than the client area leaves the keys empty, never negative.
ClientRegions LayOutClient(std::int32_t width, std::int32_t height, std::int32_t rowHeight);

inline bool Contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace luma
