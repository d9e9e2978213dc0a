// A language's word table: its words with their frequencies, searched by the
// beginning of a word without regard to case and accents. Loaded from the
// compact blob the build makes of data/words/<lang>.tsv (scripts/wordtable.py).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace luma {

class WordTable {
 public:
  // Reads the blob (which need not outlive the call). A blob that is not a
  // word table, or is cut short, leaves the table empty and returns false.
  bool Load(std::span<const std::uint8_t> blob);

  bool Empty() const { return entries_.empty(); }
  // Words are numbered by rank, 0 the most frequent.
  std::size_t Size() const { return entries_.size(); }
  std::u16string_view Word(std::size_t rank) const;
  std::u16string_view FoldedWord(std::size_t rank) const;
  // The share of all running words, 10^(-centibels/100).
  double Frequency(std::size_t rank) const { return entries_[rank].frequency; }
  // The ranks of the words whose folded form begins with `foldedPrefix`
  // (see FoldWord), in the order of their folded forms.
  std::span<const std::uint32_t> RanksWithFoldedPrefix(std::u16string_view foldedPrefix) const;
  // The rank of `word` as written, or else of a word equal to it but for case
  // (so "Zeit" for "zeit", "die" for "Die"); none when the table lacks it.
  std::optional<std::size_t> Find(std::u16string_view word) const;
  // The table's source and licence, as its comment lines give them.
  const std::string& Notice() const { return notice_; }
  // What the loaded table holds in memory, in bytes.
  std::size_t MemoryBytes() const;

 private:
  struct Entry {
    std::uint32_t wordAt;
    std::uint32_t foldedAt;
    float frequency;
    std::uint8_t wordLength;
    std::uint8_t foldedLength;
  };
  void Clear();

  std::u16string words_;
  std::u16string folded_;
  std::vector<Entry> entries_;
  std::vector<std::uint32_t> byFolded_;
  std::string notice_;
};

// The name of the table ("en", "de", …) for a keyboard layout's primary
// language (LANGID & 0x3FF); none for a language without a table.
std::optional<std::string_view> LanguageTableName(std::uint16_t primaryLanguageId);
// The key the learned words of a language are kept under: the table's name,
// or "x" and the language id in hex ("x1f") for a language without a table.
std::string LearnedLanguageKey(std::uint16_t primaryLanguageId);

}  // namespace luma
