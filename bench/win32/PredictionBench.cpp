// Word prediction in the Windows build (32-bit as shipped, or 64-bit), where
// the portable benchmark cannot run: the English table's load from the
// program's own resource form, and the row for each new letter while the
// words of a sentence are typed, as medians and the slowest of several runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "prediction/LearnedWords.h"
#include "prediction/WordPredictor.h"
#include "prediction/WordTable.h"

namespace {

double Now() {
  LARGE_INTEGER ticks, frequency;
  QueryPerformanceCounter(&ticks);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main() {
  std::ifstream in(LUMA_WORDS_DIR "/en.words", std::ios::binary);
  const std::vector<std::uint8_t> blob{std::istreambuf_iterator<char>(in), {}};
  std::vector<double> loads;
  luma::WordTable table;
  for (int i = 0; i < 20; ++i) {
    const double start = Now();
    if (!table.Load(blob)) {
      std::printf("no table in %s: build luma_word_tables first\n", LUMA_WORDS_DIR);
      return 1;
    }
    loads.push_back(Now() - start);
  }
  luma::LearnedWords learned;
  const luma::WordPredictor predictor(&table, learned);
  const std::u16string sentence[] = {u"the",    u"backup", u"of",     u"your",      u"files",
                                     u"should", u"be",     u"stored", u"somewhere", u"else"};
  std::vector<double> rows;
  for (int round = 0; round < 20; ++round) {
    std::u16string previous;
    for (const std::u16string& word : sentence) {
      std::vector<std::u16string> row;
      for (std::size_t letters = 0; letters <= word.size(); ++letters) {
        const double start = Now();
        row = predictor.Suggest(previous, word.substr(0, letters), row, 5);
        rows.push_back(Now() - start);
      }
      previous = word;
    }
  }
  std::printf(
      "%d-bit: table load median %.2f ms (slowest %.2f), row median %.4f ms (slowest %.3f) "
      "over %zu rows\n",
      static_cast<int>(sizeof(void*) * 8), Median(loads),
      *std::max_element(loads.begin(), loads.end()), Median(rows),
      *std::max_element(rows.begin(), rows.end()), rows.size());
  return 0;
}
