#include "keyboard/BusyCursor.h"

namespace luma {

void BusyCursor::Begin() {
  ++depth_;
  sink_.SetBusy(true);
}

void BusyCursor::End() {
  if (depth_ > 0) --depth_;
  if (depth_ == 0) sink_.SetBusy(false);
}

void BusyCursor::EndAll() {
  depth_ = 0;
  sink_.SetBusy(false);
}

}  // namespace luma
