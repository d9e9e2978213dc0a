#include <gtest/gtest.h>

#include "process/CommandLine.h"

namespace luma {
namespace {

using Parameters = std::vector<std::u16string>;

TEST(CommandLineTest, SplitsAsTheSystemSplits) {
  struct Row {
    std::u16string line;
    Parameters expected;
  } rows[] = {
      {u"lumatype.exe", {}},
      {u"", {}},
      {u"\"C:\\a b\\lumatype.exe\" /DEBUG \"-common x\" -debug",
       {u"/DEBUG", u"-common x", u"-debug"}},
      {u"C:\\lumatype.exe\t /COMMON  ", {u"/COMMON"}},
      {u"\"C:\\x\\\" a", {u"a"}},              // the path's backslash escapes nothing
      {u"p a\\\\\"b c\"", {u"a\\b c"}},        // 2n backslashes: n, and the quote groups
      {u"p a\\\\\\\"b", {u"a\\\"b"}},          // 2n + 1: n and a literal quote
      {u"p a\\b\\\\ c", {u"a\\b\\\\", u"c"}},  // no quote after: as they are
      {u"p \"a \"\"b\"", {u"a \"b"}},          // a doubled quote inside quotes
      {u"p \"\" x", {u"", u"x"}},              // an empty parameter
      {u"p \"open", {u"open"}},                // an unclosed quote runs to the end
      {u"\"unclosed path", {}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(SplitCommandLine(row.line), row.expected)
        << std::string(row.line.begin(), row.line.end());
}

}  // namespace
}  // namespace luma
