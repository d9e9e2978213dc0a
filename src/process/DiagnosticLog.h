// The diagnostic log of a run started with the switch "DEBUG".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/LocalClock.h"
#include "platform/SettingsBackEnd.h"

namespace luma {

inline constexpr const char* kLogFileName = "Log.txt";

// "<short date> <long time> : message"; at exactly midnight the date alone.
std::string LogEntry(LocalClock& clock, const LocalTime& time, std::string_view message);

// "Log.txt", written only with the switch "DEBUG": every entry of this run,
// the whole file rewritten per entry, so each run starts it afresh and a run
// without the switch leaves it alone.
class DiagnosticLog {
 public:
  DiagnosticLog(bool enabled, std::string programDir, FileSystem& files, LocalClock& clock);
  // False when the file could not be written; the log is only an aid, the
  // caller goes on.
  bool Write(std::string_view message);
  const std::vector<std::string>& Entries() const { return entries_; }

 private:
  bool enabled_;
  std::string path_;
  FileSystem& files_;
  LocalClock& clock_;
  std::vector<std::string> entries_;
};

}  // namespace luma
