#include "process/CommandLine.h"

namespace luma {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
  std::size_t i = 0;
  // The program's path knows no escapes: backslashes are its separators.
  if (i < line.size() && line[i] == u'"') {
    const std::size_t close = line.find(u'"', 1);
    i = close == std::u16string_view::npos ? line.size() : close + 1;
  }
  while (i < line.size() && !IsBlank(line[i])) ++i;

  std::vector<std::u16string> parameters;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) return parameters;
    std::u16string parameter;
    bool quoted = false;
    while (i < line.size() && (quoted || !IsBlank(line[i]))) {
      std::size_t backslashes = 0;
      while (i < line.size() && line[i] == u'\\') ++backslashes, ++i;
      if (i < line.size() && line[i] == u'"') {
        parameter.append(backslashes / 2, u'\\');
        if (backslashes % 2 == 1) {
          parameter += u'"';
        } else if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          parameter += u'"';
          ++i;
        } else {
          quoted = !quoted;
        }
        ++i;
      } else {
        parameter.append(backslashes, u'\\');
        if (i < line.size() && (quoted || !IsBlank(line[i]))) parameter += line[i++];
      }
    }
    parameters.push_back(std::move(parameter));
  }
}

}  // namespace luma
