// The words a user typed in one language, with how often and how lately each
// was used, and how often one word followed another. Counts only: the text
// itself, in its order, is never kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace luma {

struct WordUse {
  std::uint32_t count = 0;
  // The clock of the language at the last use: larger is more recent.
  std::uint64_t lastUse = 0;
};

class LearnedWords {
 public:
  static constexpr std::size_t kMaxWords = 25000;
  static constexpr std::size_t kMaxPairs = 50000;
  // Counts and clocks beyond these are held at them, so that neither a long
  // life nor a hand-edited file can overflow them.
  static constexpr std::uint32_t kMaxCount = 1000000;
  static constexpr std::uint64_t kMaxClock = std::uint64_t{1} << 48;

  static constexpr std::size_t kLongestWord = 48;

  explicit LearnedWords(std::size_t maxWords = kMaxWords, std::size_t maxPairs = kMaxPairs);

  // A word worth keeping: at most kLongestWord long (longer ones are pasted
  // or held keys), with a letter, without spaces or control characters.
  static bool IsLearnable(std::u16string_view word);

  // One more use of `word` now; of the pair when `previous` is learnable.
  // When the words are full, the least recently used one goes. Words that
  // are not learnable are ignored, here and below.
  void CountUse(std::u16string_view word, std::u16string_view previous);
  // Merge a use read from the learned-words file; KeepWithinLimits then lets
  // the least recently used words and pairs go beyond the limits.
  void AddWord(std::u16string_view word, WordUse use);
  void AddPair(std::u16string_view first, std::u16string_view second, WordUse use);
  void KeepWithinLimits();
  void Clear();

  // The uses of `word`, or of the word kept equal to it but for case (one
  // entry holds all of its cases); null when it is not known.
  const WordUse* Find(std::u16string_view word) const;
  // Each word whose folded form (see FoldWord) begins with `foldedPrefix`,
  // with that form, in the order of the folded forms.
  void ForEachWithFoldedPrefix(
      std::u16string_view foldedPrefix,
      const std::function<void(std::u16string_view word, std::u16string_view folded,
                               const WordUse&)>& visit) const;
  // Each word counted right after `first` whose folded form begins with
  // `foldedPrefix`, with its use as a pair, in the order of the folded forms.
  void ForEachNext(
      std::u16string_view first, std::u16string_view foldedPrefix,
      const std::function<void(std::u16string_view next, const WordUse&)>& visit) const;
  // Everything kept, for the file: each word in the form it is offered in,
  // each pair as its lower-case first word and the second's form.
  void ForEachWord(const std::function<void(std::u16string_view, const WordUse&)>& visit) const;
  void ForEachPair(const std::function<void(std::u16string_view, std::u16string_view,
                                            const WordUse&)>& visit) const;

  std::size_t WordCount() const { return words_.size(); }
  std::size_t PairCount() const { return pairs_.size(); }
  // The sum of all word counts.
  std::uint64_t TotalUses() const { return totalUses_; }
  std::uint64_t Clock() const { return clock_; }

 private:
  // The form as typed when it is not the lower-case one of the key: most
  // words need no string of their own.
  struct Learned {
    std::u16string form;
    WordUse use;
  };
  void Merge(WordUse& into, WordUse use);

  std::size_t maxWords_;
  std::size_t maxPairs_;
  // Keyed by the folded form, U+0001 and the lower-case form: a prefix search
  // is a range, and the forms of one word differing in case lie together.
  std::map<std::u16string, Learned> words_;
  // Keyed by the lower-case first word, U+0001 and the key of the second, so
  // that the words after one word that begin with some letters are a range.
  std::map<std::u16string, Learned> pairs_;
  std::uint64_t totalUses_ = 0;
  std::uint64_t clock_ = 0;
};

}  // namespace luma
