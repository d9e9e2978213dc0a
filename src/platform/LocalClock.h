// The clock of the diagnostic log. Win32 implementation in win32/, fakes in
// tests/unit/.
#pragma once

#include <string>

namespace luma {

struct LocalTime {
  int year = 0, month = 0, day = 0;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

class LocalClock {
 public:
  virtual ~LocalClock() = default;
  virtual LocalTime Now() = 0;
  // The user's regional short date and long time formats.
  virtual std::string ShortDate(const LocalTime& time) = 0;
  virtual std::string LongTime(const LocalTime& time) = 0;
};

}  // namespace luma
