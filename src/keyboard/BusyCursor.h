// Busy cursor: a nesting counter over the application's screen cursor.
#pragma once

#include <cstdint>

#include "platform/System.h"

namespace luma {

// The hourglass shows from the first Begin until as many Ends (or one
// EndAll) have followed; an End too many changes nothing.
class BusyCursor {
 public:
  explicit BusyCursor(CursorSink& sink) : sink_(sink) {}
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

  void Begin();
  void End();
  void EndAll();
  std::int32_t Depth() const { return depth_; }

 private:
  CursorSink& sink_;
  std::int32_t depth_ = 0;
};

}  // namespace luma
