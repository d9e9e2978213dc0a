// The learned-words file over arbitrary bytes: every language read stays
// within the limits, no use lies after its language's clock, writing what was
// read and reading it again gives the same file, and learning and suggesting
// go on over what was read.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "prediction/LearnedFile.h"
#include "prediction/WordPredictor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using luma::LearnedWords;
  using luma::fuzz::Check;
  luma::LearnedLanguages languages = luma::ParseLearned(luma::fuzz::AsText(data, size));
  for (auto& [key, learned] : languages) {
    Check(learned.WordCount() <= LearnedWords::kMaxWords, "more words than the limit");
    Check(learned.PairCount() <= LearnedWords::kMaxPairs, "more pairs than the limit");
    Check(learned.Clock() <= LearnedWords::kMaxClock, "a clock beyond the limit");
    std::uint64_t total = 0;
    const std::uint64_t clock = learned.Clock();
    learned.ForEachWord([&](std::u16string_view word, const luma::WordUse& use) {
      Check(LearnedWords::IsLearnable(word), "a word read that is not learnable");
      Check(use.count > 0 && use.count <= LearnedWords::kMaxCount, "a count out of range");
      Check(use.lastUse <= clock, "a use after the clock");
      total += use.count;
    });
    Check(total == learned.TotalUses(), "the total of the counts disagrees");
  }
  const std::string written = luma::SerializeLearned(languages);
  Check(luma::SerializeLearned(luma::ParseLearned(written)) == written,
        "reading the written file changes it");

  for (auto& [key, learned] : languages) {
    luma::WordPredictor predictor(nullptr, learned);
    predictor.Learn(u"the", u"word");
    predictor.Suggest(u"the", u"w", {}, 5);
  }
  return 0;
}
