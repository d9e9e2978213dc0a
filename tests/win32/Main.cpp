// The Win32 test program. --emulated-suites-only runs the suites marked
// LUMA_EMULATED_SUITE alone, as where 32-bit code is emulated.
#include <gtest/gtest.h>

#include <cstdio>
#include <string_view>

#include "EmulatedSuites.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  bool emulatedOnly = false;
  // GoogleTest has taken its own flags; a mistyped option must not run everything.
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--emulated-suites-only") {
      emulatedOnly = true;
    } else {
      std::fprintf(stderr, "unknown option %s (--emulated-suites-only or GoogleTest's)\n", argv[i]);
      return 2;
    }
  }
  if (emulatedOnly) {
    namespace test = luma::win32::test;
    const test::EmulatedSelection selection =
        test::SelectEmulated(test::ProgramSuites(), test::EmulatedSuites());
    for (const std::string& error : selection.errors) std::fprintf(stderr, "%s\n", error.c_str());
    if (!selection.errors.empty()) return 1;
    // Replaces any --gtest_filter: the run is the marked suites, whole.
    GTEST_FLAG_SET(filter, selection.filter);
  }
  return RUN_ALL_TESTS();
}
