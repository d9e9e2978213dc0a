#include "prediction/WordTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "prediction/TextCoding.h"
#include "prediction/WordFolding.h"

namespace luma {
namespace {

class BlobReader {
 public:
  explicit BlobReader(std::span<const std::uint8_t> blob) : blob_(blob) {}
  bool Has(std::size_t count) const { return blob_.size() - at_ >= count; }
  std::uint32_t Number(std::size_t bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value |= std::uint32_t{blob_[at_ + i]} << (8 * i);
    at_ += bytes;
    return value;
  }
  std::string_view Text(std::size_t bytes) {
    const std::string_view text(reinterpret_cast<const char*>(blob_.data() + at_), bytes);
    at_ += bytes;
    return text;
  }

 private:
  std::span<const std::uint8_t> blob_;
  std::size_t at_ = 0;
};

}  // namespace

void WordTable::Clear() {
  words_.clear();
  folded_.clear();
  entries_.clear();
  byFolded_.clear();
  notice_.clear();
}

bool WordTable::Load(std::span<const std::uint8_t> blob) {
  Clear();
  BlobReader reader(blob);
  if (!reader.Has(10) || reader.Text(4) != "LWT1") return false;
  const std::uint32_t count = reader.Number(4);
  const std::uint32_t noticeLength = reader.Number(2);
  // Each word takes at least three bytes: no count can claim more words than that.
  if (!reader.Has(noticeLength) || count > blob.size() / 3) return false;
  notice_ = reader.Text(noticeLength);
  entries_.reserve(count);
  words_.reserve(count * 8);
  folded_.reserve(count * 8);
  std::uint32_t centibels = 0;
  float frequency = 1;
  for (std::uint32_t i = 0; i < count; ++i) {
    if (!reader.Has(2)) break;
    const std::uint32_t step = reader.Number(1);
    const std::uint32_t length = reader.Number(1);
    if (length == 0 || !reader.Has(length)) break;
    const std::size_t wordAt = words_.size(), foldedAt = folded_.size();
    if (!AppendUtf16FromUtf8(reader.Text(length), words_)) break;
    AppendFoldedWord(std::u16string_view(words_).substr(wordAt), folded_);
    if (words_.size() - wordAt > 255 || folded_.size() - foldedAt > 255) break;
    // Many words share a frequency with the one before.
    if (i == 0 || step != 0) {
      centibels += step;
      frequency = static_cast<float>(std::pow(10.0, -static_cast<double>(centibels) / 100));
    }
    entries_.push_back({static_cast<std::uint32_t>(wordAt), static_cast<std::uint32_t>(foldedAt),
                        frequency, static_cast<std::uint8_t>(words_.size() - wordAt),
                        static_cast<std::uint8_t>(folded_.size() - foldedAt)});
  }
  if (entries_.size() != count) {
    Clear();
    return false;
  }
  // Sorted by the first four letters held in one number, so that most
  // comparisons touch no text; the rest of the text only breaks ties.
  struct Sorting {
    std::uint64_t head;
    std::uint32_t rank;
  };
  std::vector<Sorting> sorting(count);
  for (std::uint32_t rank = 0; rank < count; ++rank) {
    const std::u16string_view folded = FoldedWord(rank);
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < 4; ++i) head = head << 16 | (i < folded.size() ? folded[i] : 0);
    sorting[rank] = {head, rank};
  }
  std::sort(sorting.begin(), sorting.end(), [this](const Sorting& a, const Sorting& b) {
    if (a.head != b.head) return a.head < b.head;
    const std::u16string_view fa = FoldedWord(a.rank), fb = FoldedWord(b.rank);
    return fa != fb ? fa < fb : a.rank < b.rank;
  });
  byFolded_.resize(count);
  for (std::uint32_t i = 0; i < count; ++i) byFolded_[i] = sorting[i].rank;
  words_.shrink_to_fit();
  folded_.shrink_to_fit();
  return true;
}

std::u16string_view WordTable::Word(std::size_t rank) const {
  const Entry& e = entries_[rank];
  return std::u16string_view(words_).substr(e.wordAt, e.wordLength);
}

std::u16string_view WordTable::FoldedWord(std::size_t rank) const {
  const Entry& e = entries_[rank];
  return std::u16string_view(folded_).substr(e.foldedAt, e.foldedLength);
}

std::span<const std::uint32_t> WordTable::RanksWithFoldedPrefix(
    std::u16string_view foldedPrefix) const {
  const auto first = std::lower_bound(
      byFolded_.begin(), byFolded_.end(), foldedPrefix,
      [this](std::uint32_t rank, std::u16string_view prefix) { return FoldedWord(rank) < prefix; });
  const auto last =
      std::partition_point(first, byFolded_.end(), [this, foldedPrefix](std::uint32_t rank) {
        return FoldedWord(rank).starts_with(foldedPrefix);
      });
  return {byFolded_.data() + (first - byFolded_.begin()), static_cast<std::size_t>(last - first)};
}

std::optional<std::size_t> WordTable::Find(std::u16string_view word) const {
  const std::u16string folded = FoldWord(word);
  std::optional<std::size_t> caseless;
  const std::u16string lower = LowerWord(word);
  for (const std::uint32_t rank : RanksWithFoldedPrefix(folded)) {
    if (FoldedWord(rank) != folded) break;
    if (Word(rank) == word) return rank;
    if (!caseless && LowerWord(Word(rank)) == lower) caseless = rank;
  }
  return caseless;
}

std::size_t WordTable::MemoryBytes() const {
  return sizeof(*this) + words_.capacity() * sizeof(char16_t) +
         folded_.capacity() * sizeof(char16_t) + entries_.capacity() * sizeof(Entry) +
         byFolded_.capacity() * sizeof(std::uint32_t) + notice_.capacity();
}

std::optional<std::string_view> LanguageTableName(std::uint16_t primaryLanguageId) {
  static constexpr std::array<std::pair<std::uint16_t, std::string_view>, 10> kTables = {{
      {0x09, "en"},
      {0x07, "de"},
      {0x0C, "fr"},
      {0x0A, "es"},
      {0x10, "it"},
      {0x16, "pt"},
      {0x13, "nl"},
      {0x15, "pl"},
      {0x1D, "sv"},
      {0x19, "ru"},
  }};
  for (const auto& [id, name] : kTables) {
    if (id == primaryLanguageId) return name;
  }
  return std::nullopt;
}

std::string LearnedLanguageKey(std::uint16_t primaryLanguageId) {
  if (const auto name = LanguageTableName(primaryLanguageId)) return std::string(*name);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string key = "x";
  bool leading = true;
  for (int shift = 12; shift >= 0; shift -= 4) {
    const int digit = (primaryLanguageId >> shift) & 0xF;
    if (leading && digit == 0 && shift > 4) continue;
    leading = false;
    key += kHex[digit];
  }
  return key;
}

}  // namespace luma
