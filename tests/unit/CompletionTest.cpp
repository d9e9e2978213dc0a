// The case a suggestion is offered in, and what choosing it sends.
#include <gtest/gtest.h>

#include <string>

#include "prediction/Completion.h"
#include "prediction/LetterCase.h"

namespace luma {
namespace {

TEST(FollowCase, TheUsersCaseOverTheTablesWithItsCapitalsKept) {
  struct CaseRow {
    std::u16string_view tableWord;
    std::u16string_view typed;
    bool sentenceStart;
    bool capsLock;
    std::u16string_view offered;
  };
  const CaseRow rows[] = {
      {u"word", u"w", false, false, u"word"},
      {u"word", u"W", false, false, u"Word"},  // Shift latched or a right click
      {u"word", u"w", true, false, u"Word"},
      {u"word", u"", true, false, u"Word"},  // the next word at a start
      {u"word", u"wo", false, true, u"WORD"},
      {u"word", u"WO", false, false, u"WORD"},
      {u"Haus", u"h", false, false, u"Haus"},
      {u"I'm", u"i", false, false, u"I'm"},
      {u"straße", u"s", false, true, u"STRAßE"},  // no capital ß
      {u"über", u"ü", true, false, u"Über"},
      {u"été", u"É", false, false, u"Été"},
      {u"œuvre", u"Œ", false, false, u"Œuvre"},
      {u"łódź", u"Ł", false, false, u"Łódź"},
      {u"żółw", u"ż", false, true, u"ŻÓŁW"},
      {u"ёлка", u"Ё", false, false, u"Ёлка"},
      {u"привет", u"п", true, false, u"Привет"},
      {u"åska", u"å", false, true, u"ÅSKA"},
  };
  for (const CaseRow& r : rows) {
    EXPECT_EQ(FollowCase(r.tableWord, r.typed, r.sentenceStart, r.capsLock), r.offered)
        << std::string(r.offered.begin(), r.offered.end());
  }
}

TEST(LetterCase, CapitalAndSmallLettersArePairs) {
  int pairs = 0;
  for (int code = 0; code <= 0xFFFF; ++code) {
    const auto c = static_cast<char16_t>(code);
    if (letters::IsCapital(c)) {
      ++pairs;
      EXPECT_EQ(letters::CapitalOf(letters::SmallOf(c)), c) << std::hex << code;
      EXPECT_TRUE(letters::IsLetter(c)) << std::hex << code;
    }
    if (letters::CapitalOf(c) != c) {
      EXPECT_EQ(letters::SmallOf(letters::CapitalOf(c)), c) << std::hex << code;
    }
  }
  EXPECT_GT(pairs, 26 + 30 + 32);  // beyond ASCII, Latin-1 and Russian
}

TEST(CompletionFor, TheRestOrTheWholeWordAfterBackspaces) {
  struct CompletionRow {
    std::u16string_view typed;
    std::u16string_view word;
    Completion sent;
  };
  const CompletionRow rows[] = {
      {u"wo", u"word", {0, u"rd "}},  {u"", u"word", {0, u"word "}},
      {u"Wo", u"Word", {0, u"rd "}},  {u"wo", u"Word", {2, u"Word "}},  // the case differs
      {u"ete", u"été", {3, u"été "}},                                   // the accents differ
      {u"word", u"word", {0, u" "}},  {u"a😀", u"ab", {2, u"ab "}},      // one Backspace a character
      {u"wo", u"", {0, u""}},
  };
  for (const CompletionRow& r : rows) {
    EXPECT_EQ(CompletionFor(r.typed, r.word), r.sent) << std::string(r.word.begin(), r.word.end());
  }
}

}  // namespace
}  // namespace luma
