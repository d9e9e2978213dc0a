// Word prediction: a table's load from its blob (with the memory it takes),
// and the rows while typing words after "the" (the next-word row, then one a
// letter), with no learned words and with a full store of them: the median
// and the slowest row, and the memory the learned words take; the memory of
// one language in use, its table and a full store read from the file.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "HeapCount.h"
#include "prediction/LearnedFile.h"
#include "prediction/LearnedWords.h"
#include "prediction/TextCoding.h"
#include "prediction/WordFolding.h"
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

// The user's own words for an English keyboard: German ones, past the most
// common, as a user who writes both would have.
std::vector<std::u16string> OwnWords(std::size_t count) {
  WordTable german;
  std::vector<std::u16string> words;
  if (!german.Load(Blob("de"))) return words;
  for (std::size_t rank = 1000; rank < german.Size() && words.size() < count; ++rank) {
    if (LearnedWords::IsLearnable(german.Word(rank))) words.emplace_back(german.Word(rank));
  }
  return words;
}

// A full store as the file holds it: every word, and each followed by the next
// two words of the list.
std::string FullStoreFile(const std::vector<std::u16string>& words) {
  std::string text = "[en]\n";
  for (std::size_t i = 0; i < words.size(); ++i) {
    text += "word " + std::to_string(2 + i % 7) + " " + std::to_string(1 + i * 3) + " " +
            Utf8FromUtf16(words[i]) + "\n";
  }
  for (std::size_t i = 0; i < LearnedWords::kMaxPairs; ++i) {
    const std::size_t first = i % words.size(),
                      second = (first + 1 + i / words.size()) % words.size();
    text += "pair " + std::to_string(1 + i % 3) + " " + std::to_string(1 + i) + " " +
            Utf8FromUtf16(LowerWord(words[first])) + " " + Utf8FromUtf16(words[second]) + "\n";
  }
  return text;
}

void LanguageMemory(benchmark::State& state) {
  const std::vector<std::u16string> words = OwnWords(LearnedWords::kMaxWords);
  if (words.size() < LearnedWords::kMaxWords) state.SkipWithError("no German table");
  const std::string file = FullStoreFile(words);
  std::size_t heap = HeapBytesInUse();
  WordTable table;
  if (!table.Load(Blob("en"))) state.SkipWithError("no table: build luma_word_tables first");
  const std::size_t tableBytes = HeapBytesInUse() - heap;
  heap = HeapBytesInUse();
  LearnedLanguages languages = ParseLearned(file);
  const std::size_t storeBytes = HeapBytesInUse() - heap;
  LearnedWords& learned = languages["en"];
  const std::size_t loadedWords = learned.WordCount(), loadedPairs = learned.PairCount();
  // As many words again typed, each new one pushing out the least recently used.
  {
    WordPredictor predictor(&table, learned);
    std::u16string previous;
    for (std::size_t i = 0; i < words.size(); ++i) {
      const std::u16string word = words[(i * 7) % words.size()] + u"e";
      predictor.Learn(previous, word);
      previous = word;
    }
  }
  const std::size_t typedBytes = HeapBytesInUse() - heap;
  for (auto _ : state) {
    LearnedLanguages read = ParseLearned(file);
    benchmark::DoNotOptimize(read.size());
  }
  constexpr double kMB = 1024 * 1024;
  state.counters["words"] = static_cast<double>(loadedWords);
  state.counters["pairs"] = static_cast<double>(loadedPairs);
  state.counters["file_MB"] = static_cast<double>(file.size()) / kMB;
  state.counters["table_MB"] = static_cast<double>(tableBytes) / kMB;
  state.counters["store_MB"] = static_cast<double>(storeBytes) / kMB;
  state.counters["typed_MB"] = static_cast<double>(typedBytes) / kMB;
  state.counters["total_MB"] =
      static_cast<double>(tableBytes + std::max(storeBytes, typedBytes)) / kMB;
}
BENCHMARK(LanguageMemory)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace luma
