#include "process/Switches.h"

#include "platform/Types.h"

namespace luma {
namespace {

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

}  // namespace luma
