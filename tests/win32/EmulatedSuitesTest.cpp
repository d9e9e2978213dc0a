// What win32_tests --emulated-suites-only runs: the marked suites, whole, and
// no run at all when a mark has lost its cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "EmulatedSuites.h"

namespace luma::win32::test {
namespace {

TEST(EmulatedSuitesTest, SelectsEachMarkedSuiteWholeAndRefusesAMarkWithoutCases) {
  const std::vector<std::string> suites = {"Keys/KeyInjectionTest", "KeyInjectionTestOld",
                                           "OldKeyInjectionTest", "GdiBitmapTest", "FocusTest"};
  struct Case {
    const char* name;
    std::vector<std::string> marked;
    std::string filter;
    std::vector<std::string> unmatched;  // named by an error each
  };
  const Case cases[] = {
      {"plain and parameterised",
       {"GdiBitmapTest", "KeyInjectionTest"},
       "GdiBitmapTest.*:Keys/KeyInjectionTest.*",
       {}},
      {"a renamed suite's old mark", {"FocusTest", "RenamedTest"}, "FocusTest.*", {"RenamedTest"}},
      {"a prefix of a name is no match", {"InjectionTest", "Keys"}, "", {"InjectionTest", "Keys"}},
      {"nothing marked", {}, "", {"no suite"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EmulatedSelection selection = SelectEmulated(suites, c.marked);
    EXPECT_EQ(selection.filter, c.filter);
    EXPECT_EQ(selection.errors.size(), c.unmatched.size());
    for (const std::string& name : c.unmatched) {
      const bool named = std::any_of(selection.errors.begin(), selection.errors.end(),
                                     [&](const std::string& e) { return e.find(name) != e.npos; });
      EXPECT_TRUE(named) << name << " is in no error";
    }
  }

  // This program's own marks, checked wherever the whole program runs.
  const EmulatedSelection own = SelectEmulated(ProgramSuites(), EmulatedSuites());
  EXPECT_TRUE(own.errors.empty()) << ::testing::PrintToString(own.errors);
}

}  // namespace
}  // namespace luma::win32::test
