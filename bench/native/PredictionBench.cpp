// Word prediction: a table's load from its blob (with the memory it takes),
// and the rows while typing words after "the" (the next-word row, then one a
// letter), with no learned words and with a full store of them: the median
// and the slowest row, and the memory the learned words take.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "prediction/LearnedWords.h"
#include "prediction/WordPredictor.h"
#include "prediction/WordTable.h"

namespace luma {
namespace {

const char* const kLanguages[] = {"en", "de", "fr", "es", "it", "pt", "nl", "pl", "sv", "ru"};

const std::vector<std::uint8_t>& Blob(const std::string& language) {
  static std::vector<std::vector<std::uint8_t>> blobs(std::size(kLanguages));
  for (std::size_t i = 0; i < std::size(kLanguages); ++i) {
    if (language != kLanguages[i]) continue;
    if (blobs[i].empty()) {
      std::ifstream in(std::string(LUMA_WORDS_DIR) + "/" + language + ".words", std::ios::binary);
      blobs[i].assign(std::istreambuf_iterator<char>(in), {});
    }
    return blobs[i];
  }
  return blobs[0];
}

void WordTableLoad(benchmark::State& state) {
  const std::string language = kLanguages[state.range(0)];
  const std::vector<std::uint8_t>& blob = Blob(language);
  WordTable table;
  for (auto _ : state) {
    if (!table.Load(blob)) state.SkipWithError("no table: build luma_word_tables first");
  }
  state.SetLabel(language);
  state.counters["words"] = static_cast<double>(table.Size());
  state.counters["memory_KB"] = static_cast<double>(table.MemoryBytes()) / 1024;
}
BENCHMARK(WordTableLoad)->DenseRange(0, 9)->Unit(benchmark::kMillisecond);

// Typing these, a letter at a time, each row built on the one before.
const std::u16string kTyped[] = {u"backup", u"files", u"the", u"computer", u"restore", u"folder",
                                 u"document", u"which", u"important", u"select", u"data", u"copy",
                                 u"between", u"storage", u"you",
                                 // Among the 12,500 learned words that begin with "own".
                                 u"owner"};

void SuggestNextLetter(benchmark::State& state) {
  WordTable table;
  if (!table.Load(Blob("en"))) state.SkipWithError("no table: build luma_word_tables first");
  LearnedWords learned;
  WordPredictor predictor(&table, learned);
  // A full store: the table's words used now and then, and words of the user's own, each
  // also after "the", the word before every row.
  const std::size_t heapBefore = mallinfo2().uordblks;
  const std::size_t learnedWords = static_cast<std::size_t>(state.range(0));
  for (std::size_t i = 0; i < learnedWords && !table.Empty(); ++i) {
    const std::u16string word = i % 2 ? std::u16string(table.Word(i % table.Size()))
                                      : u"own" + std::u16string(table.Word(i % table.Size()));
    predictor.Learn(u"", word);
    predictor.Learn(u"the", word);
  }
  state.counters["learned_MB"] =
      static_cast<double>(mallinfo2().uordblks - heapBefore) / (1024 * 1024);
  std::size_t word = 0, letters = 0;
  std::vector<std::u16string> row;
  // Each row's own time, for the median and the slowest of them.
  std::vector<double> micros;
  for (auto _ : state) {
    const std::u16string& typing = kTyped[word];
    const auto start = std::chrono::steady_clock::now();
    row = predictor.Suggest(u"the", std::u16string_view(typing).substr(0, letters), row, 5);
    benchmark::DoNotOptimize(row.data());
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
    if (++letters > typing.size()) {
      letters = 0;
      word = (word + 1) % std::size(kTyped);
      row.clear();
    }
  }
  state.counters["learned"] = static_cast<double>(learned.WordCount());
  if (!micros.empty()) {
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["slowest_us"] = micros.back();
  }
}
BENCHMARK(SuggestNextLetter)->Arg(0)->Arg(LearnedWords::kMaxWords)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace luma
