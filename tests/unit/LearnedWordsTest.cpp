// Learning what the user types: the second use of a word the table lacks,
// rising with use and recency, pairs for the next-word row, the limits; and
// the learned-words file read back, damaged or edited by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WordBlob.h"
#include "prediction/LearnedFile.h"
#include "prediction/LearnedWords.h"
#include "prediction/TextCoding.h"
#include "prediction/WordPredictor.h"

namespace luma {
namespace {

const std::vector<TableWord> kWords = {
    {"the", 127},  {"backup", 300}, {"back", 310}, {"files", 320}, {"file", 330},
    {"Zeit", 340}, {"first", 350},  {"fire", 360}, {"film", 370},
};

// Each step is "previous word" or "word" typed after a space; "." breaks the pair.
struct Typing {
  std::vector<std::string> words;
  const char* previous;
  const char* typed;
  const char* row;
};

TEST(LearnedWordsTest, TypedWordsAreLearnedAndRiseInTheRow) {
  const WordTable table = LoadedTable(kWords);
  const Typing rows[] = {
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
      {{"the", "backup", ".", "the", "backup", ".", "the", "file"}, "the", "", "backup|file|"},
      {{"the", "backup", ".", "the", "backup", ".", "the", "file"}, "THE", "", "backup|file|"},
      {{"the", "backup", ".", "the", "file"}, "the", "b", "backup|back|"},
      {{"the", "back", ".", "the", "file"}, "the", "fi", "file|files|first"},
      // A pair whose second word is not offered yet gives nothing.
      {{"the", "fizzle"}, "the", "", "||"},
      {{"the", "backup"}, "a", "", "||"},
      {{}, "the", "", "||"},
  };
  for (const Typing& r : rows) {
    LearnedWords learned;
    WordPredictor predictor(&table, learned);
    std::u16string previous;
    for (const std::string& w : r.words) {
      if (w == ".") {
        previous.clear();
        continue;
      }
      predictor.Learn(previous, U16(w));
      previous = U16(w);
    }
    std::string typing;
    for (const std::string& w : r.words) typing += w + " ";
    EXPECT_EQ(Row(predictor.Suggest(U16(r.previous), U16(r.typed), {}, 3)), r.row)
        << typing << "then " << r.previous << " " << r.typed;
  }
}

TEST(LearnedWordsTest, WithoutATableLearnedWordsStillCount) {
  LearnedWords learned;
  WordPredictor predictor(nullptr, learned);
  for (const char16_t* w : {u"hej", u"hej", u"hejsan", u"hejsan", u"hejsan", u"hem"}) {
    predictor.Learn(u"", w);
  }
  EXPECT_EQ(Row(predictor.Suggest(u"", u"he", {}, 3)), "hejsan|hej|");
}

TEST(LearnedWordsTest, TheLeastRecentlyUsedGoBeyondTheLimits) {
  LearnedWords learned(3, 2);
  // Each step: a word after the one before it; the words and pairs left.
  const struct {
    const char16_t* word;
    const char* words;
    const char* pairs;
  } steps[] = {
      {u"a1", "a1", ""},
      {u"b2", "a1 b2", "a1>b2"},
      {u"c3", "a1 b2 c3", "a1>b2 b2>c3"},
      {u"a1", "a1 b2 c3", "b2>c3 c3>a1"},
      {u"d4", "a1 c3 d4", "a1>d4 c3>a1"},
      {u"d4", "a1 c3 d4", "a1>d4 d4>d4"},
      {u"e5", "a1 d4 e5", "d4>d4 d4>e5"},
  };
  std::u16string previous;
  for (const auto& s : steps) {
    learned.CountUse(s.word, previous);
    previous = s.word;
    std::string words, pairs;
    learned.ForEachWord([&words](std::u16string_view w, const WordUse&) {
      words += (words.empty() ? "" : " ") + Utf8FromUtf16(w);
    });
    learned.ForEachPair([&pairs](std::u16string_view a, std::u16string_view b, const WordUse&) {
      pairs += (pairs.empty() ? "" : " ") + Utf8FromUtf16(a) + ">" + Utf8FromUtf16(b);
    });
    EXPECT_EQ(words, s.words) << Utf8FromUtf16(s.word);
    EXPECT_EQ(pairs, s.pairs) << Utf8FromUtf16(s.word);
  }
  EXPECT_EQ(learned.TotalUses(), 5u);  // a1, d4 twice each, e5 once
}

TEST(LearnedWordsTest, WordsNotWorthKeepingAreNotLearned) {
  LearnedWords learned;
  for (const char16_t* w : {u"", u"1234", u"two words", u"tab\tbed", u"--",
                            u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"}) {
    learned.CountUse(w, u"the");
    learned.CountUse(u"ok", w);
  }
  EXPECT_EQ(learned.WordCount(), 1u);
  EXPECT_EQ(learned.PairCount(), 0u);
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
  WordPredictor russian(nullptr, languages["ru"]);
  russian.Learn(u"", u"ёлка");
  languages["x1f"];  // nothing learned: no section

  const std::string written = SerializeLearned(languages);
  EXPECT_EQ(written.substr(written.find('\n') + 1),
            "[en]\n"
            "word 2 2 backup\n"
            "word 1 3 Déjà\n"
            "pair 1 2 the backup\n"
            "[ru]\n"
            "word 1 1 ёлка\n");
  const LearnedLanguages read = ParseLearned(written);
  EXPECT_EQ(SerializeLearned(read), written);
  ASSERT_EQ(read.count("en"), 1u);
  EXPECT_EQ(read.at("en").Clock(), 3u);
  EXPECT_EQ(read.at("en").TotalUses(), 3u);
}

TEST(LearnedWordsTest, ADamagedOrHandEditedFileIsReadAsFarAsItMakesSense) {
  const struct {
    const char* name;
    const char* text;
    const char* read;
  } rows[] = {
      {"empty", "", ""},
      {"no section", "word 3 10 hello\n", ""},
      {"plain", "[en]\nword 3 10 hello\n", "[en]\nword 3 10 hello\n"},
      {"CR LF, tabs, blanks", "\xEF\xBB\xBF[en] \r\n\tword\t3  10 hello \r\n",
       "[en]\nword 3 10 hello\n"},
      {"no line end", "[en]\nword 3 10 hello", "[en]\nword 3 10 hello\n"},
      {"negative count", "[en]\nword -3 10 hello\nword 1 2 ok\n", "[en]\nword 1 2 ok\n"},
      {"zero count", "[en]\nword 0 10 hello\n", ""},
      {"sign", "[en]\nword +3 10 hello\n", ""},
      {"huge count", "[en]\nword 99999999999999999999999 10 hello\n",
       "[en]\nword 1000000 10 hello\n"},
      {"huge last use", "[en]\nword 3 99999999999999999999999 hello\n",
       "[en]\nword 3 281474976710656 hello\n"},
      {"negative last use", "[en]\nword 3 -10 hello\n", ""},
      {"missing word", "[en]\nword 3 10\n", ""},
      {"extra field", "[en]\nword 3 10 hello there\n", ""},
      {"unknown kind", "[en]\nwort 3 10 hello\n", ""},
      {"not UTF-8", "[en]\nword 3 10 hel\xFF\xFElo\nword 1 1 ok\n", "[en]\nword 1 1 ok\n"},
      {"no letter", "[en]\nword 3 10 1234\n", ""},
      {"twice", "[en]\nword 2 10 hello\nword 3 12 Hello\n", "[en]\nword 5 12 hello\n"},
      {"bad section skips its lines", "[en]\nword 1 1 ok\n[e n]\nword 3 10 hello\n",
       "[en]\nword 1 1 ok\n"},
      {"section again", "[en]\nword 1 1 ok\n[de]\nword 1 1 ja\n[en]\nword 1 2 ok\n",
       "[de]\nword 1 1 ja\n[en]\nword 2 2 ok\n"},
      {"pair", "[en]\npair 2 5 The Backup\npair 2 5 the\n", "[en]\npair 2 5 the Backup\n"},
      {"control character before a section", "\x01[en]\nword 1 1 ok\n", ""},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(Reread(std::string(r.text, std::char_traits<char>::length(r.text))), r.read)
        << r.name;
  }
  const std::string withNul("[en]\nword 1 1 o\0k\nword 1 1 ok\n", 29);
  EXPECT_EQ(Reread(withNul), "[en]\nword 1 1 ok\n");
}

TEST(LearnedWordsTest, AFileBeyondTheLimitsKeepsTheMostRecentlyUsed) {
  std::string text = "[en]\n";
  const std::size_t extra = 10;
  for (std::size_t i = 0; i < LearnedWords::kMaxWords + extra; ++i) {
    text += "word 1 " + std::to_string(i + 1) + " w" + std::to_string(i) + "x\n";
  }
  const LearnedLanguages read = ParseLearned(text);
  const LearnedWords& en = read.at("en");
  EXPECT_EQ(en.WordCount(), LearnedWords::kMaxWords);
  EXPECT_EQ(en.Find(u"w9x"), nullptr);
  ASSERT_NE(en.Find(u"w10x"), nullptr);
  EXPECT_EQ(en.Clock(), LearnedWords::kMaxWords + extra);
}

}  // namespace
}  // namespace luma
