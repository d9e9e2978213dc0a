// Splitting the process's command line into parameters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace luma {

// The parameters after the program's own path, split as the system's
// CommandLineToArgvW splits them: blanks separate, double quotes group
// blanks, 2n backslashes before a quote give n and the quote groups, 2n + 1
// give n and a literal quote, a doubled quote inside quotes is a literal one.
// The path itself ends at its closing quote, or else at the first blank.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

}  // namespace luma
