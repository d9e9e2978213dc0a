#include "win32/ProcessEnvironment.h"

#include "lib/CommandLine.h"
#include "settings/Diagnostics.h"

namespace luma::win32 {
namespace {

std::string ToAnsi(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.pop_back();  // the terminating NUL
  return result;
}

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

std::string ProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // truncated: a long path
  }
}

// Split here rather than by CommandLineToArgvW: shell32, its only user at
// start-up, costs a start more than a bare window's whole creation.
std::vector<std::string> CommandLineParameters(const wchar_t* commandLine) {
  std::vector<std::string> parameters;
  for (const std::u16string& parameter :
       luma::SplitCommandLine(reinterpret_cast<const char16_t*>(commandLine)))
    parameters.push_back(ToAnsi(reinterpret_cast<const wchar_t*>(parameter.c_str())));
  return parameters;
}

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

void MessageBoxErrorReporter::Report(const std::string& message) {
  // An owner already destroyed would leave the box without one anyway.
  MessageBoxA(IsWindow(owner_) ? owner_ : nullptr, luma::ErrorReportText(message).c_str(),
              luma::kErrorReportCaption, MB_OK | MB_ICONERROR);
}

}  // namespace luma::win32
