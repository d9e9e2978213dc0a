#include "EmulatedSuites.h"

namespace luma::win32::test {
namespace {

std::vector<std::string>& Marked() {
  // Filled while the test files initialise, in no set order.
  static std::vector<std::string> marked;
  return marked;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

bool MarkEmulated(const char* suite) {
  Marked().emplace_back(suite);
  return true;
}

const std::vector<std::string>& EmulatedSuites() { return Marked(); }

std::vector<std::string> ProgramSuites() {
  const ::testing::UnitTest& program = *::testing::UnitTest::GetInstance();
  std::vector<std::string> suites;
  for (int i = 0; i < program.total_test_suite_count(); ++i)
    suites.emplace_back(program.GetTestSuite(i)->name());
  return suites;
}

EmulatedSelection SelectEmulated(const std::vector<std::string>& suites,
                                 const std::vector<std::string>& marked) {
  EmulatedSelection selection;
  if (marked.empty()) selection.errors.push_back("no suite is marked LUMA_EMULATED_SUITE");
  for (const std::string& mark : marked) {
    bool found = false;
    for (const std::string& suite : suites) {
      // Whole names only: a mark of KeyTest takes Keys/KeyTest, not OtherKeyTest.
      if (suite != mark && !EndsWith(suite, "/" + mark)) continue;
      if (!selection.filter.empty()) selection.filter += ':';
      selection.filter += suite + ".*";
      found = true;
    }
    if (!found) selection.errors.push_back(mark + " is marked LUMA_EMULATED_SUITE but has no case");
  }
  return selection;
}

}  // namespace luma::win32::test
