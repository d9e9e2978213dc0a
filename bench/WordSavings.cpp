// Keystroke savings of word prediction: replays each language's evaluation
// text (bench/words/<lang>.txt) the way a user with a pointer types it and
// prints the share of selections the suggestion row saves, with three and with
// five cells, from the word table alone and with learning as the text goes.
//
// A letter is one selection; a chosen suggestion is one selection and types
// its space, which a following . , ; : ! or ? removes; every other character
// is one selection. Before each letter (and, with learning, before the first
// one, from the words typed after the word before) the user picks the word
// being typed when the row offers it, whatever its case.
//
//   word_savings [WORDS_DIR [TEXT_DIR]] [LANG...]
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "prediction/LearnedWords.h"
#include "prediction/TextCoding.h"
#include "prediction/WordFolding.h"
#include "prediction/WordPredictor.h"
#include "prediction/WordTable.h"

namespace {

using luma::IsWordLetter;
using luma::LearnedWords;
using luma::LowerWord;
using luma::WordPredictor;
using luma::WordTable;

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsApostrophe(char16_t c) { return c == u'\'' || c == u'\u2019'; }

std::u16string Plain(std::u16string_view word) {
  std::u16string plain(word);
  for (char16_t& c : plain) {
    if (c == u'\u2019') c = u'\'';
  }
  return plain;
}

struct Replay {
  std::size_t characters = 0;
  std::size_t selections = 0;
  double Savings() const {
    return characters ? 100.0 * (1.0 - static_cast<double>(selections) / characters) : 0;
  }
};

// The word starting at `at`: letters, and an apostrophe with the letters after
// it where the table holds the word so joined ("don't", "aujourd'hui").
std::size_t WordEnd(std::u16string_view text, std::size_t at, const WordTable& table) {
  std::size_t end = at;
  while (end < text.size() && IsWordLetter(text[end])) ++end;
  while (end + 1 < text.size() && IsApostrophe(text[end]) && IsWordLetter(text[end + 1])) {
    std::size_t joined = end + 1;
    while (joined < text.size() && IsWordLetter(text[joined])) ++joined;
    if (!table.Find(Plain(text.substr(at, joined - at)))) break;
    end = joined;
  }
  return end;
}

Replay Run(std::u16string_view text, const WordTable& table, std::size_t cells, bool learn) {
  LearnedWords learned;
  WordPredictor predictor(&table, learned);
  Replay replay;
  replay.characters = text.size();
  std::u16string previous;
  bool spaceTyped = false;
  std::size_t at = 0;
  while (at < text.size()) {
    const char16_t c = text[at];
    if (!IsWordLetter(c)) {
      // The space a suggestion typed stands for the text's; punctuation takes
      // it away again in the same selection that types it.
      if (!(c == u' ' && spaceTyped)) ++replay.selections;
      if (c != u' ') previous.clear();
      spaceTyped = false;
      ++at;
      continue;
    }
    spaceTyped = false;
    const std::size_t end = WordEnd(text, at, table);
    const std::u16string word = Plain(text.substr(at, end - at));
    const std::u16string lowerWord = LowerWord(word);
    std::vector<std::u16string> row;
    bool chosen = false;
    for (std::size_t typed = 0; typed < word.size() && !chosen; ++typed) {
      if (typed > 0 || learn) {
        row = predictor.Suggest(previous, std::u16string_view(word).substr(0, typed), row, cells);
        for (const std::u16string& cell : row) {
          if (!cell.empty() && LowerWord(cell) == lowerWord) chosen = true;
        }
      }
      ++replay.selections;
    }
    spaceTyped = chosen;
    if (learn) predictor.Learn(previous, word);
    previous = word;
    at = end;
  }
  return replay;
}

}  // namespace

int main(int argc, char** argv) {
  std::string wordsDir = LUMA_WORDS_DIR;
  std::string textDir = LUMA_EVAL_DIR;
  std::vector<std::string> languages;
  std::vector<std::string> dirs;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    (arg.find('/') != std::string::npos ? dirs : languages).push_back(arg);
  }
  if (!dirs.empty()) wordsDir = dirs[0];
  if (dirs.size() > 1) textDir = dirs[1];
  if (languages.empty()) languages = {"en", "de", "fr", "es", "it", "pt", "nl", "pl", "sv", "ru"};

  std::printf("keystroke savings, %%   table 3  table 5  learning 3  learning 5\n");
  int failures = 0;
  for (const std::string& language : languages) {
    const auto blob = ReadFile(wordsDir + "/" + language + ".words");
    const auto bytes = ReadFile(textDir + "/" + language + ".txt");
    const auto text = bytes ? luma::Utf16FromUtf8(*bytes) : std::nullopt;
    WordTable table;
    if (!blob || !text ||
        !table.Load({reinterpret_cast<const std::uint8_t*>(blob->data()), blob->size()})) {
      std::fprintf(stderr, "%s: no table or no text\n", language.c_str());
      ++failures;
      continue;
    }
    std::printf("%-22s %8.1f %8.1f %11.1f %11.1f\n", language.c_str(),
                Run(*text, table, 3, false).Savings(), Run(*text, table, 5, false).Savings(),
                Run(*text, table, 3, true).Savings(), Run(*text, table, 5, true).Savings());
    std::fflush(stdout);
  }
  return failures == 0 ? 0 : 1;
}
