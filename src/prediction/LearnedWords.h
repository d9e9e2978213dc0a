// The words a user typed in one language, with how often and how lately each
// was used, and how often one word followed another. Counts only: the text
// itself, in its order, is never kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
  // A use read from the learned-words file. Such uses are gathered and only
  // merged, all at once, by KeepWithinLimits, which then lets the least
  // recently used words and pairs go beyond the limits; until then the words
  // and pairs are those from before.
  void AddWord(std::u16string_view word, WordUse use);
  void AddPair(std::u16string_view first, std::u16string_view second, WordUse use);
  void KeepWithinLimits();
  void Clear();

  // The uses of `word`, or of the word kept equal to it but for case (one
  // entry holds all of its cases); none when it is not known.
  std::optional<WordUse> Find(std::u16string_view word) const;
  // The walks below hand each word and its use to `visit`; the words stay
  // valid until the store next changes, the use only during the call.
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
  // A use in three 32-bit numbers: twelve bytes instead of WordUse's sixteen.
  struct PackedUse {
    std::uint32_t count;
    std::uint32_t lastUseLow;
    std::uint32_t lastUseHigh;
  };
  // Words and the second words of pairs are offsets of their entries in the
  // pool: a word's form as it is offered, then its folded form unless it is
  // the same. A pair's first word is an entry whose form, or folded form
  // (marked in the offset's top bit), is its lower case.
  struct WordRecord {
    std::uint32_t entry;
    PackedUse use;
  };
  struct PairRecord {
    std::uint32_t first;
    std::uint32_t second;
    PackedUse use;
  };

  static WordUse Unpacked(const PackedUse& use);
  static PackedUse Packed(WordUse use);
  std::u16string_view Form(std::uint32_t entry) const;
  std::u16string_view Folded(std::uint32_t entry) const;
  // The lower-case first word of a pair.
  std::u16string_view First(const PairRecord& pair) const;
  // The entry of a word kept whose form or folded form is `firstLower`.
  std::uint32_t FirstOfWords(std::u16string_view firstLower) const;
  std::size_t EntrySize(std::uint32_t entry) const;
  std::uint32_t AddEntry(std::u16string_view form);
  // Orders as the walks visit: words by folded form, then lower case; pairs
  // by the first word, then as words.
  int CompareWord(std::uint32_t entry, std::u16string_view folded, std::u16string_view lower) const;
  int ComparePair(const PairRecord& pair, std::u16string_view first, std::u16string_view folded,
                  std::u16string_view lower) const;
  bool WordBefore(const WordRecord& a, const WordRecord& b) const;
  bool PairBefore(const PairRecord& a, const PairRecord& b) const;
  std::size_t WordAt(std::u16string_view folded, std::u16string_view lower) const;
  std::size_t PairAt(std::u16string_view first, std::u16string_view folded,
                     std::u16string_view lower) const;
  bool IsLowerForm(std::uint32_t entry) const;
  void Merge(PackedUse& into, WordUse use);
  void CountWord(std::u16string_view word, WordUse use);
  void CountPair(std::u16string_view first, std::u16string_view second, WordUse use);
  void MergeReadWords();
  void MergeReadPairs();
  // Copies the entries still in use to a new pool; `sameForms` also makes
  // entries of the same form one.
  void CompactPool(bool sameForms);

  std::size_t maxWords_;
  std::size_t maxPairs_;
  std::vector<char16_t> pool_;
  // The pool's size when it was last compacted: it is compacted again once
  // it has grown by a quarter, most of which is then words that went.
  std::size_t compactedPool_ = 0;
  // Both sorted as the walks visit them.
  std::vector<WordRecord> words_;
  std::vector<PairRecord> pairs_;
  // Uses read from the file, not merged yet.
  std::vector<WordRecord> readWords_;
  std::vector<PairRecord> readPairs_;
  std::uint64_t totalUses_ = 0;
  std::uint64_t clock_ = 0;
};

}  // namespace luma
