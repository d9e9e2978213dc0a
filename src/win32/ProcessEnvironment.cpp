#include "win32/ProcessEnvironment.h"

#include "process/CommandLine.h"
#include "win32/TextConversion.h"

namespace luma::win32 {

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

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
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

}  // namespace luma::win32
