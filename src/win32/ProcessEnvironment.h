// What the process learns from the system at start-up: its own path and
// its parameters.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace luma::win32 {

// The executable's full path, in the ANSI code page.
std::string ProgramPath();
// The executable's folder with its trailing backslash, in UTF-16: for files
// whose paths need not fit the ANSI code page.
std::wstring ProgramFolder();

// The parameters after the program's own path, split as the C runtime
// splits them (quotes group blanks), in the ANSI code page.
std::vector<std::string> CommandLineParameters(const wchar_t* commandLine = GetCommandLineW());

}  // namespace luma::win32
