// The process's command-line switches and its program folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace luma {

inline constexpr const char* kCommonSwitch = "COMMON";
inline constexpr const char* kDebugSwitch = "DEBUG";

// A parameter that is "-" or "/" followed by name, in any case. parameters
// are those after the program's own path; their order does not matter.
bool HasSwitch(const std::vector<std::string>& parameters, std::string_view name);

// The program's folder with its final backslash: "C:\Tools\" for
// "C:\Tools\kb.exe"; empty for a path without one.
std::string ProgramDirOf(std::string_view programPath);

}  // namespace luma
