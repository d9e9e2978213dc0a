// The local clock of the diagnostic log, in the user's regional formats.
#pragma once

#include <windows.h>

#include <string>

#include "platform/LocalClock.h"

namespace luma::win32 {

class Win32LocalClock : public luma::LocalClock {
 public:
  luma::LocalTime Now() override;
  std::string ShortDate(const luma::LocalTime& time) override;
  std::string LongTime(const luma::LocalTime& time) override;
};

}  // namespace luma::win32
