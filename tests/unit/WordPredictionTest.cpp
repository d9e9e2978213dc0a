// Word prediction: the table's search by the beginning of a word, without
// regard to case and accents, its ranking and cells kept in place, damaged
// tables; the words the user types learned, with pairs for the next-word row
// and the limits; the learned-words file read back, damaged or edited by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WordBlob.h"
#include "prediction/LearnedFile.h"
#include "prediction/LearnedWords.h"
#include "prediction/TextCoding.h"
#include "prediction/WordFolding.h"
#include "prediction/WordPredictor.h"
#include "prediction/WordTable.h"

namespace luma {
namespace {

const std::vector<TableWord> kSearchWords = {
    {"would", 250}, {"word", 300},  {"world", 310},   {"work", 320},   {"Zeit", 330},
    {"zeit", 335},  {"école", 380}, {"Straße", 390},  {"wonder", 400}, {"woman", 405},
    {"won", 410},   {"wool", 415},  {"zeitung", 420}, {"ёлка", 450},   {"don't", 460},
    {"I", 490},     {"wordy", 500},
};

// The row for `typed` after the cells of the row before.
TEST(WordSearchTest, OffersTableWordsByFrequencyKeepingCellsThatStillMatch) {
  const WordTable table = LoadedTable(kSearchWords);
  LearnedWords learned;
  const WordPredictor predictor(&table, learned);
  const struct {
    std::vector<std::string> before;
    const char* typed;
    std::size_t count;
    const char* row;
  } rows[] = {
      // By frequency, never alphabetically (woman, won, wonder, wool, word).
      {{}, "wo", 5, "would|word|world|work|wonder"},
      {{}, "WO", 3, "would|word|world"},
      {{}, "Wor", 5, "word|world|work|wordy|"},
      // The typed word itself is not offered, in any case or accent.
      {{}, "word", 5, "wordy||||"},
      {{}, "ZEIT", 3, "zeitung||"},
      {{}, "zei", 3, "Zeit|zeit|zeitung"},
      {{}, "ÉCO", 3, "école||"},
      {{}, "strass", 3, "Straße||"},
      {{}, "STRAßE", 3, "||"},
      {{}, "don’", 3, "don't||"},
      {{}, "x", 3, "||"},
      {{}, "", 3, "||"},
      // word and world stay where they were; the best of the rest fills the gap.
      {{"would", "word", "world"}, "wor", 3, "work|word|world"},
      {{"wonder", "would", "word", "world", "work"}, "wor", 5, "wordy||word|world|work"},
      // Backspace: the row of the shorter word keeps what still matches too.
      {{"world", "", ""}, "wo", 3, "world|would|word"},
      // A word that no longer matches, or is now typed in full, gives up its cell.
      {{"would", "word", "world"}, "worl", 3, "||world"},
      {{"would", "word", "world"}, "word", 3, "wordy||"},
  };
  for (const auto& r : rows) {
    std::vector<std::u16string> before;
    for (const std::string& w : r.before) before.push_back(U16(w));
    EXPECT_EQ(Row(predictor.Suggest(u"", U16(r.typed), before, r.count)), r.row) << r.typed;
  }
}

TEST(WordSearchTest, FoldingComparesCaseAndAccentsAway) {
  const struct {
    const char* word;
    const char* folded;
    const char* lower;
  } rows[] = {
      {"Straße", "strasse", "straße"}, {"ÉCOLE", "ecole", "école"},
      {"Œuvre", "oeuvre", "œuvre"},    {"ŁÓDŹ", "lodz", "łódź"},
      {"Ёлка", "елка", "ёлка"},        {"İstanbul", "istanbul", "istanbul"},
      {"ŸÿĲ", "yyij", "ÿÿĳ"},          {"it’s", "it's", "it’s"},
      {"×÷1", "×÷1", "×÷1"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Utf8FromUtf16(FoldWord(U16(r.word))), r.folded) << r.word;
    EXPECT_EQ(Utf8FromUtf16(LowerWord(U16(r.word))), r.lower) << r.word;
  }
  const WordTable table = LoadedTable(kSearchWords);
  // The exact form first, then one equal but for case.
  const struct {
    const char* word;
    const char* found;
  } finds[] = {
      {"Zeit", "Zeit"}, {"zeit", "zeit"}, {"ZEIT", "Zeit"}, {"STRASSE", ""},
      {"i", "I"},       {"ecole", ""},    {"zeitun", ""},
  };
  for (const auto& f : finds) {
    const auto rank = table.Find(U16(f.word));
    EXPECT_EQ(rank ? Utf8FromUtf16(table.Word(*rank)) : "", f.found) << f.word;
  }
}

TEST(WordSearchTest, ADamagedBlobLoadsAsAnEmptyTable) {
  const std::vector<std::uint8_t> good = WordBlob({{"the", 127}, {"to", 157}, {"über", 200}});
  // The first `size` bytes, one of them changed.
  auto damaged = [&good](std::size_t size, std::size_t at = 0, std::uint8_t byte = 'L') {
    std::vector<std::uint8_t> blob(good.begin(), good.begin() + size);
    blob[at] = byte;
    return blob;
  };
  const struct {
    const char* name;
    std::vector<std::uint8_t> blob;
    bool loads;
  } rows[] = {
      {"whole", good, true},
      {"empty", {}, false},
      {"header only", damaged(10), false},
      {"cut in a word", damaged(good.size() - 1), false},
      {"other magic", damaged(good.size(), 0, 'X'), false},
      {"count beyond the blob", damaged(good.size(), 7, 0xFF), false},
      {"not UTF-8", damaged(good.size(), good.size() - 1, 0xFF), false},
      {"empty word", WordBlob({{"", 127}}), false},
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
  EXPECT_FALSE(table.Load(damaged(good.size(), 0, 'X')));
  EXPECT_TRUE(table.Empty());
  // The learned words of a language without a table are kept under its number.
  EXPECT_EQ(LanguageTableName(0x19).value_or(""), "ru");
  EXPECT_EQ(LearnedLanguageKey(0x1F), "x1f");
  EXPECT_EQ(LearnedLanguageKey(0x3FF), "x3ff");
}

const std::vector<TableWord> kLearnWords = {
    {"the", 127},  {"backup", 300}, {"back", 310}, {"files", 320}, {"file", 330},
    {"Zeit", 340}, {"first", 350},  {"fire", 360}, {"film", 370},
};

TEST(LearnedWordsTest, TypedWordsAreLearnedAndRiseInTheRow) {
  const WordTable table = LoadedTable(kLearnWords);
  // What is typed, each word after the one before ("." breaks the pair), then
  // a word before and letters typed.
  const struct {
    std::vector<std::string> words;
    const char* previous;
    const char* typed;
    const char* row;
    bool withTable = true;
  } rows[] = {
      {{}, "", "fi", "files|file|first"},
      // A word the table lacks is offered from its second use on.
      {{"fizzle"}, "", "fiz", "||"},
      {{"fizzle", ".", "fizzle"}, "", "fiz", "fizzle||"},
      // A control character is no letter of any word.
      {{"fizzle", ".", "fizzle"}, "", "fizzle\x01", "||"},
      {{"Fizzle", ".", "fizzle"}, "", "fiz", "fizzle||"},
      // Typed at a sentence's start and never in lower case: kept capitalised.
      {{"Lumatype", ".", "Lumatype"}, "", "lum", "Lumatype||"},
      // A table word used once goes before more frequent ones; the most recent first.
      {{"film"}, "", "fi", "film|files|file"},
      {{"film", ".", "fire"}, "", "fi", "fire|film|files"},
      {{"film", ".", "fire", ".", "film"}, "", "fi", "film|fire|files"},
      // Table words learn in the table's form, whatever case they were typed in.
      {{"zeit"}, "", "z", "Zeit||"},
      // What followed a word comes first after it, also before a letter is typed.
      {{"the", "backup", ".", "the", "backup", ".", "the", "file"}, "THE", "", "backup|file|"},
      {{"the", "backup", ".", "the", "file"}, "the", "b", "backup|back|"},
      {{"the", "back", ".", "the", "file"}, "the", "fi", "file|files|first"},
      // A pair whose second word is not offered yet gives nothing.
      {{"the", "fizzle"}, "the", "", "||"},
      {{"the", "backup"}, "a", "", "||"},
      // Neither a word nor a pair is learned from what is not a word.
      {{"1234", ".", "1234"}, "", "12", "||"},
      {{"tab\tbed", ".", "tab\tbed"}, "", "tab", "||"},
      {{std::string(49, 'a'), ".", std::string(49, 'a')}, "", "aa", "||"},
      {{"1234", "backup", ".", "1234", "backup"}, "1234", "", "||"},
      // Without a table the learned words still count.
      {{"hej", "hej", "hejsan", "hejsan", "hejsan", "hem"}, "", "he", "hejsan|hej|", false},
  };
  for (const auto& r : rows) {
    LearnedWords learned;
    WordPredictor predictor(r.withTable ? &table : nullptr, learned);
    std::u16string previous;
    std::string typing;
    for (const std::string& w : r.words) {
      typing += w + " ";
      predictor.Learn(previous, w == "." ? u"" : U16(w));
      previous = w == "." ? u"" : U16(w);
    }
    EXPECT_EQ(Row(predictor.Suggest(U16(r.previous), U16(r.typed), {}, 3)), r.row)
        << typing << "then " << r.previous << " " << r.typed;
  }
}

TEST(LearnedWordsTest, TheLeastRecentlyUsedGoBeyondTheLimits) {
  LearnedWords learned(2, 3);
  auto kept = [&learned] {
    std::string words, pairs;
    learned.ForEachWord([&words](std::u16string_view w, const WordUse&) {
      words += (words.empty() ? "" : " ") + Utf8FromUtf16(w);
    });
    learned.ForEachPair([&pairs](std::u16string_view a, std::u16string_view b, const WordUse&) {
      pairs += (pairs.empty() ? "" : " ") + Utf8FromUtf16(a) + ">" + Utf8FromUtf16(b);
    });
    return words + " | " + pairs;
  };
  // Each step: a word after the one before it; the words and pairs left. A
  // pair keeps its words when they go from the words.
  const struct {
    const char16_t* word;
    const char* kept;
  } steps[] = {
      {u"a1", "a1 | "},
      {u"b2", "a1 b2 | a1>b2"},
      {u"c3", "b2 c3 | a1>b2 b2>c3"},
      {u"a1", "a1 c3 | a1>b2 b2>c3 c3>a1"},
      {u"D4", "a1 D4 | a1>D4 b2>c3 c3>a1"},
      {u"d4", "a1 d4 | a1>D4 c3>a1 d4>d4"},
  };
  std::u16string previous;
  for (const auto& s : steps) {
    learned.CountUse(s.word, previous);
    previous = s.word;
    EXPECT_EQ(kept(), s.kept) << Utf8FromUtf16(s.word);
  }
  EXPECT_EQ(learned.TotalUses(), 3u);  // d4 twice, a1 once since it came back
  // Many more words: what went makes room, and what stays reads the same.
  for (int i = 0; i < 1000; ++i) {
    const std::u16string word = u"Wörd" + U16(std::to_string(i));
    learned.CountUse(word, previous);
    previous = word;
  }
  EXPECT_EQ(kept(), "Wörd998 Wörd999 | wörd996>Wörd997 wörd997>Wörd998 wörd998>Wörd999");
  // Uses read beyond the limits: the most recent stay.
  learned.AddWord(u"old", {5, 1});
  learned.AddWord(u"new", {1, 3000});
  learned.AddPair(u"New", u"old", {1, 2999});
  learned.KeepWithinLimits();
  EXPECT_EQ(kept(), "new Wörd999 | new>old wörd997>Wörd998 wörd998>Wörd999");
  EXPECT_EQ(learned.TotalUses(), 2u);
}

// The file's lines after its heading, for a parsed text.
std::string Reread(const std::string& text) {
  const std::string written = SerializeLearned(ParseLearned(text));
  return written.substr(written.find('\n') + 1);
}

TEST(LearnedWordsTest, TheFileReadsBackWhatWasLearned) {
  LearnedLanguages languages;
  WordPredictor english(nullptr, languages["en"]);
  english.Learn(u"", u"backup");
  english.Learn(u"the", u"backup");
  english.Learn(u"", u"Déjà");
  english.Learn(u"", std::u16string{u'a', 0xD800});  // half a character: written as U+FFFD
  WordPredictor russian(nullptr, languages["ru"]);
  russian.Learn(u"", u"ёлка");
  languages["x1f"];  // nothing learned: no section

  const std::string written = SerializeLearned(languages);
  EXPECT_EQ(written.substr(written.find('\n') + 1),
            "[en]\n"
            "word 1 4 a\xEF\xBF\xBD\n"
            "word 2 2 backup\n"
            "word 1 3 Déjà\n"
            "pair 1 2 the backup\n"
            "[ru]\n"
            "word 1 1 ёлка\n");
  const LearnedLanguages read = ParseLearned(written);
  EXPECT_EQ(SerializeLearned(read), written);
  ASSERT_EQ(read.count("en"), 1u);
  EXPECT_EQ(read.at("en").Clock(), 4u);
  EXPECT_EQ(read.at("en").TotalUses(), 4u);
}

TEST(LearnedWordsTest, ADamagedOrHandEditedFileIsReadAsFarAsItMakesSense) {
  const struct {
    const char* name;
    const char* text;
    const char* read;
  } rows[] = {
      {"empty", "", ""},
      {"plain", "[en]\nword 3 10 hello\n", "[en]\nword 3 10 hello\n"},
      {"CR LF, tabs, blanks", "\xEF\xBB\xBF[en] \r\n\tword\t3  10 hello \r\n",
       "[en]\nword 3 10 hello\n"},
      {"no line end", "[en]\nword 3 10 hello", "[en]\nword 3 10 hello\n"},
      {"count of none or less", "[en]\nword -3 10 hello\nword 0 10 hello\nword 1 2 ok\n",
       "[en]\nword 1 2 ok\n"},
      {"huge numbers", "[en]\nword 99999999999999999999999 99999999999999999999999 hello\n",
       "[en]\nword 1000000 281474976710656 hello\n"},
      {"fields missing or extra, unknown kind, no letter",
       "[en]\nword 3 10\nword 3 10 hello there\nwort 3 10 hello\nword 3 10 1234\n", ""},
      {"UTF-8", "[en]\nword 1 1 é€\xF0\x9F\x98\x80\n", "[en]\nword 1 1 é€\xF0\x9F\x98\x80\n"},
      // Bytes out of place, overlong, a surrogate, beyond U+10FFFF, cut short, no continuation.
      {"not UTF-8",
       "[en]\nword 1 1 ok\xFF\xFE\nword 1 1 ok\xC0\xAF\nword 1 1 ok\xE0\x80\xAF\n"
       "word 1 1 ok\xED\xA0\x80\nword 1 1 ok\xF4\x90\x80\x80\nword 1 1 ok\xE2\x82\n"
       "word 1 1 ok\xE2\x28\xA1\nword 1 1 ok\n",
       "[en]\nword 1 1 ok\n"},
      {"twice", "[en]\nword 2 10 hello\nword 3 12 Hello\n", "[en]\nword 5 12 hello\n"},
      // Out of order, and a form typed in lower case wins over any other.
      {"unsorted", "[en]\nword 1 5 zz\nword 3 10 Hello\nword 1 2 aa\nword 2 12 hello\n",
       "[en]\nword 1 2 aa\nword 5 12 hello\nword 1 5 zz\n"},
      {"first form", "[en]\nword 1 1 HELLO\nword 1 2 Hello\n", "[en]\nword 2 2 HELLO\n"},
      {"unsorted pairs", "[en]\npair 1 3 the zz\npair 1 2 a b\npair 1 4 the aa\npair 1 5 a B\n",
       "[en]\npair 2 5 a b\npair 1 4 the aa\npair 1 3 the zz\n"},
      {"bad section skips its lines", "[en]\nword 1 1 ok\n[e n]\nword 3 10 hello\n",
       "[en]\nword 1 1 ok\n"},
      {"section again", "[en]\nword 1 1 ok\n[de]\nword 1 1 ja\n[en]\nword 1 2 ok\n",
       "[de]\nword 1 1 ja\n[en]\nword 2 2 ok\n"},
      {"pair", "[en]\npair 2 5 The Backup\npair 2 5 the\n", "[en]\npair 2 5 the Backup\n"},
      {"pair after a name", "[en]\nword 1 1 Zeit\npair 1 1 ZEIT Uhr\n",
       "[en]\nword 1 1 Zeit\npair 1 1 zeit Uhr\n"},
      {"control character before a section", "\x01[en]\nword 1 1 ok\n", ""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Reread(std::string(r.text, std::char_traits<char>::length(r.text))), r.read)
        << r.name;
  }
  const std::string withNul("[en]\nword 1 1 o\0k\nword 1 1 ok\n", 29);
  EXPECT_EQ(Reread(withNul), "[en]\nword 1 1 ok\n");
}

}  // namespace
}  // namespace luma
