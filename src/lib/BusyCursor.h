// Busy cursor: a nesting counter over the application's screen cursor.
#pragma once

#include <cstdint>

#include "platform/System.h"

namespace luma {

extern std::int32_t BusyCount;
void BeginBusyCursor(CursorSink& cursor, bool reset);
void EndBusyCursor(CursorSink& cursor, bool reset);

}  // namespace luma
