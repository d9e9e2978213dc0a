#include "process/DiagnosticLog.h"

#include <utility>

namespace luma {

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

}  // namespace luma
