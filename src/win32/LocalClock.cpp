#include "win32/LocalClock.h"

namespace luma::win32 {
namespace {

SYSTEMTIME ToSystemTime(const luma::LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  st.wMilliseconds = static_cast<WORD>(t.millisecond);
  return st;
}

}  // namespace

luma::LocalTime Win32LocalClock::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string Win32LocalClock::ShortDate(const luma::LocalTime& time) {
  const SYSTEMTIME st = ToSystemTime(time);
  char text[128];
  const int length =
      GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
  return length > 0 ? std::string(text, length - 1) : std::string();
}

std::string Win32LocalClock::LongTime(const luma::LocalTime& time) {
  const SYSTEMTIME st = ToSystemTime(time);
  char text[128];
  const int length = GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, sizeof text);
  return length > 0 ? std::string(text, length - 1) : std::string();
}

}  // namespace luma::win32
