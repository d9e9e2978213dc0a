// The suites that run where 32-bit code is only emulated (qemu): there every
// Wine process takes ~40 s to start, so only the key injection and drawing
// suites, where record layouts and calling conventions differ most, run, in
// one process (win32_tests --emulated-suites-only). A suite carries its mark
// beside its fixture, so that a renamed suite keeps it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

namespace luma::win32::test {

// Adds SUITE to the emulated run; the value initialises a mark.
bool MarkEmulated(const char* suite);
// The marked suites of this program.
const std::vector<std::string>& EmulatedSuites();
// This program's suites with at least one case, a parameterised one with its
// prefix ("Keys/KeyInjectionTest").
std::vector<std::string> ProgramSuites();

struct EmulatedSelection {
  std::string filter;               // --gtest_filter of the marked suites' cases
  std::vector<std::string> errors;  // a mark without a case, or no mark at all
};

// The cases of SUITES that MARKED name. The run is refused when a mark has no
// case or nothing is marked: it would pass while leaving tests out.
EmulatedSelection SelectEmulated(const std::vector<std::string>& suites,
                                 const std::vector<std::string>& marked);

}  // namespace luma::win32::test

// Marks the fixture SUITE (the class its TEST_F or TEST_P cases name) for the
// emulated run. The mark names the class itself: a rename that misses it does
// not compile.
#define LUMA_EMULATED_SUITE(Suite)                                                      \
  static_assert(std::is_base_of_v<::testing::Test, Suite>, #Suite " is not a fixture"); \
  [[maybe_unused]] const bool Suite##IsEmulated = ::luma::win32::test::MarkEmulated(#Suite)
