#include "lib/BusyCursor.h"

namespace luma {

std::int32_t BusyCount = 0;

void BeginBusyCursor(CursorSink& cursor, bool reset) {
  if (reset)
    BusyCount = 1;
  else
    ++BusyCount;
  cursor.SetBusy(true);
}

void EndBusyCursor(CursorSink& cursor, bool reset) {
  if (reset) {
    BusyCount = 0;
  } else {
    --BusyCount;
    if (BusyCount < 0) BusyCount = 0;
  }
  if (BusyCount == 0) cursor.SetBusy(false);
}

}  // namespace luma
