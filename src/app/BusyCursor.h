// The hourglass over the application while the window's thread does long
// work, such as loading a layout, that keeps it from answering the pointer.
#pragma once

#include "platform/System.h"

namespace luma::app {

// Shows the hourglass from construction until the scope ends, however it ends.
class BusyCursor {
 public:
  explicit BusyCursor(CursorSink& cursor) : cursor_(cursor) { cursor_.SetBusy(true); }
  ~BusyCursor() { cursor_.SetBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  CursorSink& cursor_;
};

}  // namespace luma::app
