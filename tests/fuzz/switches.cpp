// The command-line switch parser over any parameters (split at LF; the first
// piece is the switch asked for), the program folder of any path and the
// error box text of any message.
#include "process/Switches.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "process/DiagnosticLog.h"
#include "process/ErrorReport.h"

namespace {

using luma::fuzz::Check;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ReferenceHasSwitch(const std::vector<std::string>& parameters, std::string_view name) {
  for (const std::string& p : parameters) {
    if (p.size() != name.size() + 1 || (p[0] != '/' && p[0] != '-')) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size(); ++i) same = same && Lower(p[i + 1]) == Lower(name[i]);
    if (same) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = luma::fuzz::AsText(data, size);
  std::vector<std::string> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('\n', start);
    pieces.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  const std::string name = pieces.front();
  const std::vector<std::string> parameters(pieces.begin() + 1, pieces.end());

  const bool found = luma::HasSwitch(parameters, name);
  Check(found == ReferenceHasSwitch(parameters, name), "a switch misread");
  const std::vector<std::string> reversed(parameters.rbegin(), parameters.rend());
  Check(luma::HasSwitch(reversed, name) == found, "the order of the parameters matters");
  for (const std::string_view known : {luma::kCommonSwitch, luma::kDebugSwitch}) {
    Check(luma::HasSwitch(parameters, known) == ReferenceHasSwitch(parameters, known),
          "a known switch misread");
  }

  const std::string dir = luma::ProgramDirOf(text);
  Check(text.starts_with(dir), "the program folder is not a start of the path");
  Check(dir.empty() ? text.find('\\') == std::string_view::npos
                    : dir.back() == '\\' && text.find('\\', dir.size()) == std::string_view::npos,
        "the program folder does not end at the last backslash");

  const std::string report = luma::ErrorReportText(text);
  Check(report == text || report == std::string(text) + ".", "the error text changed");
  Check(report.empty() || static_cast<unsigned char>(report.back()) <= '.',
        "the error text ends without a full stop");
  return 0;
}
