// Process life around the window: command-line switches, the program's
// folder, the diagnostic log and the text of the error report.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Diagnostics.h"
#include "platform/SettingsBackEnd.h"

namespace luma {

inline constexpr const char* kCommonSwitch = "COMMON";
inline constexpr const char* kDebugSwitch = "DEBUG";
inline constexpr const char* kLogFileName = "Log.txt";
inline constexpr const char* kErrorReportCaption = "Lumatype";

// A parameter that is "-" or "/" followed by name, in any case. parameters
// are those after the program's own path; their order does not matter.
bool HasSwitch(const std::vector<std::string>& parameters, std::string_view name);

// The program's folder with its final backslash: "C:\Tools\" for
// "C:\Tools\kb.exe"; empty for a path without one.
std::string ProgramDirOf(std::string_view programPath);

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

// The message of the error box: a full stop is added when the last character
// comes after "." in character order (a letter, a digit), not after ".",
// "'", a double quote or ")".
std::string ErrorReportText(std::string_view message);

}  // namespace luma
