#include "settings/Diagnostics.h"

#include <utility>

namespace luma {
namespace {

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

}  // namespace

bool HasSwitch(const std::vector<std::string>& parameters, std::string_view name) {
  for (const std::string& parameter : parameters) {
    if (parameter.empty() || (parameter[0] != '-' && parameter[0] != '/')) continue;
    if (EqualIgnoringCase(std::string_view(parameter).substr(1), name)) return true;
  }
  return false;
}

std::string ProgramDirOf(std::string_view programPath) {
  const std::size_t slash = programPath.rfind('\\');
  if (slash == std::string_view::npos) return {};
  return std::string(programPath.substr(0, slash + 1));
}

std::string LogEntry(LocalClock& clock, const LocalTime& time, std::string_view message) {
  std::string entry = clock.ShortDate(time);
  const bool midnight =
      time.hour == 0 && time.minute == 0 && time.second == 0 && time.millisecond == 0;
  if (!midnight) {
    entry += ' ';
    entry += clock.LongTime(time);
  }
  entry += " : ";
  entry += message;
  return entry;
}

DiagnosticLog::DiagnosticLog(bool enabled, std::string programDir, FileSystem& files,
                             LocalClock& clock)
    : enabled_(enabled),
      path_(std::move(programDir) + kLogFileName),
      files_(files),
      clock_(clock) {}

bool DiagnosticLog::Write(std::string_view message) {
  if (!enabled_) return true;
  entries_.push_back(LogEntry(clock_, clock_.Now(), message));
  std::string text;
  for (const std::string& entry : entries_) {
    text += entry;
    text += "\r\n";
  }
  return files_.WriteWhole(path_, text);
}

std::string ErrorReportText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text += '.';
  return text;
}

}  // namespace luma
