// The word tables and the search of the suggestion row: folding of case and
// accents, ranking, the typed word left out, cells kept in place, damaged
// tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WordBlob.h"
#include "prediction/LearnedWords.h"
#include "prediction/TextCoding.h"
#include "prediction/WordFolding.h"
#include "prediction/WordPredictor.h"
#include "prediction/WordTable.h"

namespace luma {
namespace {

std::vector<std::u16string> Cells(const std::vector<std::string>& words) {
  std::vector<std::u16string> cells;
  for (const std::string& w : words) cells.push_back(U16(w));
  return cells;
}

const std::vector<TableWord> kWords = {
    {"would", 250}, {"word", 300},  {"world", 310},   {"work", 320},   {"Zeit", 330},
    {"zeit", 335},  {"école", 380}, {"Straße", 390},  {"wonder", 400}, {"woman", 405},
    {"won", 410},   {"wool", 415},  {"zeitung", 420}, {"ёлка", 450},   {"don't", 460},
    {"œuvre", 470}, {"łódź", 480},  {"I", 490},       {"wordy", 500},
};

TEST(WordSearchTest, OffersTableWordsByFrequencyWithoutRegardToCaseOrAccents) {
  const WordTable table = LoadedTable(kWords);
  LearnedWords learned;
  const WordPredictor predictor(&table, learned);
  const struct {
    const char* typed;
    std::size_t count;
    const char* row;
  } rows[] = {
      // By frequency, never alphabetically (woman, won, wonder, wool, word).
      {"wo", 5, "would|word|world|work|wonder"},
      {"wo", 3, "would|word|world"},
      {"WO", 3, "would|word|world"},
      {"Wor", 5, "word|world|work|wordy|"},
      // The typed word itself is not offered, in any case or accent.
      {"word", 5, "wordy||||"},
      {"WORLD", 3, "||"},
      {"ZEIT", 3, "zeitung||"},
      {"zei", 3, "Zeit|zeit|zeitung"},
      {"ecol", 3, "école||"},
      {"ÉCO", 3, "école||"},
      {"strass", 3, "Straße||"},
      {"STRAßE", 3, "||"},
      {"oeu", 3, "œuvre||"},
      {"lod", 3, "łódź||"},
      {"елк", 3, "ёлка||"},
      {"Ёл", 3, "ёлка||"},
      {"don’", 3, "don't||"},
      {"x", 3, "||"},
      {"", 3, "||"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Row(predictor.Suggest(u"", U16(r.typed), {}, r.count)), r.row)
        << r.typed << " " << r.count;
  }
}

TEST(WordSearchTest, AWordThatStillMatchesKeepsItsCell) {
  const WordTable table = LoadedTable(kWords);
  LearnedWords learned;
  const WordPredictor predictor(&table, learned);
  const struct {
    std::vector<std::string> previous;
    const char* typed;
    const char* row;
  } rows[] = {
      // word and world stay where they were; the best of the rest fills the gap.
      {{"would", "word", "world"}, "wor", "work|word|world"},
      {{"wonder", "would", "word", "world", "work"}, "wor", "wordy||word|world|work"},
      // Backspace: the row of the shorter word keeps what still matches too.
      {{"world", "", ""}, "wo", "world|would|word"},
      // A word that no longer matches, or is now typed in full, gives up its cell.
      {{"would", "word", "world"}, "worl", "||world"},
      {{"would", "word", "world"}, "word", "wordy||"},
      {{"woman", "would", "wool"}, "woo", "||wool"},
  };
  for (const auto& r : rows) {
    const std::vector<std::u16string> previous = Cells(r.previous);
    EXPECT_EQ(Row(predictor.Suggest(u"", U16(r.typed), previous, previous.size())), r.row)
        << r.typed;
  }
}

TEST(WordSearchTest, FoldingComparesCaseAndAccentsAway) {
  const struct {
    const char* word;
    const char* folded;
    const char* lower;
  } rows[] = {
      {"Straße", "strasse", "straße"},
      {"ÉCOLE", "ecole", "école"},
      {"Œuvre", "oeuvre", "œuvre"},
      {"ŁÓDŹ", "lodz", "łódź"},
      {"Ёлка", "елка", "ёлка"},
      {"ÆØÅ", "aeoa", "æøå"},
      {"İstanbul", "istanbul", "istanbul"},
      {"ŸÿĲ", "yyij", "ÿÿĳ"},
      {"it’s", "it's", "it’s"},
      {"×÷1", "×÷1", "×÷1"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Utf8FromUtf16(FoldWord(U16(r.word))), r.folded) << r.word;
    EXPECT_EQ(Utf8FromUtf16(LowerWord(U16(r.word))), r.lower) << r.word;
  }
}

TEST(WordSearchTest, ADamagedBlobLoadsAsAnEmptyTable) {
  const std::vector<std::uint8_t> good = WordBlob({{"the", 127}, {"to", 157}, {"über", 200}});
  auto cut = [&good](std::size_t size) {
    return std::vector<std::uint8_t>(good.begin(), good.begin() + size);
  };
  std::vector<std::uint8_t> badMagic = good;
  badMagic[0] = 'X';
  std::vector<std::uint8_t> hugeCount = good;
  hugeCount[7] = 0xFF;
  std::vector<std::uint8_t> badUtf8 = good;
  badUtf8[good.size() - 1] = 0xFF;
  std::vector<std::uint8_t> emptyWord = WordBlob({{"", 127}});
  const struct {
    const char* name;
    std::vector<std::uint8_t> blob;
    bool loads;
  } rows[] = {
      {"whole", good, true},
      {"empty", {}, false},
      {"header only", cut(10), false},
      {"cut in a word", cut(good.size() - 1), false},
      {"other magic", badMagic, false},
      {"count beyond the blob", hugeCount, false},
      {"not UTF-8", badUtf8, false},
      {"empty word", emptyWord, false},
  };
  for (const auto& r : rows) {
    WordTable table;
    EXPECT_EQ(table.Load(r.blob), r.loads) << r.name;
    EXPECT_EQ(table.Size(), r.loads ? 3u : 0u) << r.name;
    EXPECT_EQ(table.RanksWithFoldedPrefix(u"t").size(), r.loads ? 2u : 0u) << r.name;
  }
  WordTable table;
  ASSERT_TRUE(table.Load(good));
  EXPECT_EQ(table.Notice(), "# test table");
  EXPECT_NEAR(table.Frequency(0), 0.0537, 0.0001);
  // A later damaged load leaves nothing of the earlier table.
  EXPECT_FALSE(table.Load(badMagic));
  EXPECT_TRUE(table.Empty());
}

TEST(WordSearchTest, FindPrefersTheExactFormThenOneEqualButForCase) {
  const WordTable table = LoadedTable(kWords);
  const struct {
    const char* word;
    const char* found;
  } rows[] = {
      {"Zeit", "Zeit"},   {"zeit", "zeit"}, {"ZEIT", "Zeit"}, {"STRASSE", ""},
      {"Woman", "woman"}, {"i", "I"},       {"ecole", ""},    {"zeitun", ""},
  };
  for (const auto& r : rows) {
    const auto rank = table.Find(U16(r.word));
    EXPECT_EQ(rank ? Utf8FromUtf16(table.Word(*rank)) : "", r.found) << r.word;
  }
}

TEST(WordSearchTest, OnlyWellFormedUtf8IsRead) {
  const struct {
    const char* bytes;
    std::u16string text;  // empty: refused
  } rows[] = {
      {"\x61\xC3\xA9\xE2\x82\xAC", u"a\u00E9\u20AC"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xC0\xAF", u""},          // overlong
      {"\xE0\x80\xAF", u""},      // overlong
      {"\xED\xA0\x80", u""},      // a surrogate
      {"\xF4\x90\x80\x80", u""},  // beyond U+10FFFF
      {"\xE2\x82", u""},          // cut short
      {"\xE2\x28\xA1", u""},      // not a continuation
      {"\x80", u""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Utf16FromUtf8(r.bytes).value_or(u""), r.text) << r.bytes;
  }
  std::u16string appended = u"ok";
  EXPECT_FALSE(AppendUtf16FromUtf8("x\xC0\xAF", appended));
  EXPECT_EQ(appended, u"ok");
  EXPECT_EQ(Utf8FromUtf16(std::u16string{u'a', 0xD800, u'b'}),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(Utf8FromUtf16(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(WordSearchTest, TheLanguageOfALayoutNamesItsTable) {
  const struct {
    std::uint16_t id;
    const char* table;
    const char* key;
  } rows[] = {
      {0x09, "en", "en"},  {0x07, "de", "de"}, {0x0C, "fr", "fr"}, {0x0A, "es", "es"},
      {0x10, "it", "it"},  {0x16, "pt", "pt"}, {0x13, "nl", "nl"}, {0x15, "pl", "pl"},
      {0x1D, "sv", "sv"},  {0x19, "ru", "ru"}, {0x1F, "", "x1f"},  {0x00, "", "x00"},
      {0x3FF, "", "x3ff"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(LanguageTableName(r.id).value_or(""), r.table) << r.id;
    EXPECT_EQ(LearnedLanguageKey(r.id), r.key) << r.id;
  }
}

}  // namespace
}  // namespace luma
