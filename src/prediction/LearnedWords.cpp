#include "prediction/LearnedWords.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "prediction/WordFolding.h"

namespace luma {
namespace {

// Stands for a folded form the same as the word's own, which most words have.
constexpr char16_t kFoldedIsForm = 0xFFFF;
// A pair's first word is the folded form of its entry rather than the form.
constexpr std::uint32_t kFirstIsFolded = std::uint32_t{1} << 31;
constexpr std::uint32_t kNoEntry = ~std::uint32_t{0};

// Room for a few more records before the vector moves, but never beyond one
// over the limit, which is as far as the records go before the oldest goes.
template <typename Record>
void MakeRoom(std::vector<Record>& records, std::size_t max) {
  if (records.size() < records.capacity()) return;
  const std::size_t wanted = records.size() + records.size() / 2 + 16;
  records.reserve(std::max(records.size() + 1, std::min(wanted, max + 1)));
}

// The least recently used records go until `max` are left; ties go in order.
template <typename Record, typename Gone>
void KeepNewest(std::vector<Record>& records, std::size_t max,
                std::uint64_t (*lastUse)(const Record&), Gone gone) {
  if (records.size() <= max) return;
  const std::size_t excess = records.size() - max;
  std::vector<std::uint64_t> stamps;
  stamps.reserve(records.size());
  for (const Record& record : records) stamps.push_back(lastUse(record));
  std::nth_element(stamps.begin(), stamps.begin() + (excess - 1), stamps.end());
  const std::uint64_t newestToGo = stamps[excess - 1];
  std::size_t sameToGo = excess - static_cast<std::size_t>(std::count_if(
                                      stamps.begin(), stamps.end(),
                                      [newestToGo](std::uint64_t s) { return s < newestToGo; }));
  std::size_t kept = 0;
  for (Record& record : records) {
    const std::uint64_t stamp = lastUse(record);
    const bool goes = stamp < newestToGo || (stamp == newestToGo && sameToGo > 0);
    if (!goes) {
      records[kept++] = record;
      continue;
    }
    if (stamp == newestToGo) --sameToGo;
    gone(record);
  }
  records.resize(kept);
}

// Empties a vector and gives its memory back, which assigning {} does not.
template <typename T>
void FreeAll(std::vector<T>& vector) {
  std::vector<T>().swap(vector);
}

}  // namespace

LearnedWords::LearnedWords(std::size_t maxWords, std::size_t maxPairs)
    : maxWords_(maxWords), maxPairs_(maxPairs) {}

WordUse LearnedWords::Unpacked(const PackedUse& use) {
  return {use.count, std::uint64_t{use.lastUseHigh} << 32 | use.lastUseLow};
}

LearnedWords::PackedUse LearnedWords::Packed(WordUse use) {
  return {use.count, static_cast<std::uint32_t>(use.lastUse),
          static_cast<std::uint32_t>(use.lastUse >> 32)};
}

std::u16string_view LearnedWords::Form(std::uint32_t entry) const {
  return {pool_.data() + entry + 1, pool_[entry]};
}

std::u16string_view LearnedWords::Folded(std::uint32_t entry) const {
  const std::size_t foldedAt = entry + 1 + pool_[entry];
  if (pool_[foldedAt] == kFoldedIsForm) return Form(entry);
  return {pool_.data() + foldedAt + 1, pool_[foldedAt]};
}

std::u16string_view LearnedWords::First(const PairRecord& pair) const {
  return pair.first & kFirstIsFolded ? Folded(pair.first & ~kFirstIsFolded) : Form(pair.first);
}

std::uint32_t LearnedWords::FirstOfWords(std::u16string_view firstLower) const {
  const std::size_t w = WordAt(FoldWord(firstLower), firstLower);
  if (w == words_.size()) return kNoEntry;
  const std::uint32_t entry = words_[w].entry;
  if (Form(entry) == firstLower) return entry;
  if (Folded(entry) == firstLower) return entry | kFirstIsFolded;
  return kNoEntry;
}

std::size_t LearnedWords::EntrySize(std::uint32_t entry) const {
  const std::size_t foldedAt = entry + 1 + pool_[entry];
  return foldedAt - entry + 1 + (pool_[foldedAt] == kFoldedIsForm ? 0 : pool_[foldedAt]);
}

std::uint32_t LearnedWords::AddEntry(std::u16string_view form) {
  // Built aside first: `form` may lie in the pool, which may move.
  std::u16string entry(1, static_cast<char16_t>(form.size()));
  entry += form;
  const std::u16string folded = FoldWord(form);
  if (folded == form) {
    entry += kFoldedIsForm;
  } else {
    entry += static_cast<char16_t>(folded.size());
    entry += folded;
  }
  if (pool_.size() + entry.size() > pool_.capacity()) {
    pool_.reserve(pool_.size() + pool_.size() / 8 + entry.size() + 256);
  }
  const auto at = static_cast<std::uint32_t>(pool_.size());
  pool_.insert(pool_.end(), entry.begin(), entry.end());
  return at;
}

int LearnedWords::CompareWord(std::uint32_t entry, std::u16string_view folded,
                              std::u16string_view lower) const {
  if (const int order = Folded(entry).compare(folded)) return order;
  return std::u16string_view(LowerWord(Form(entry))).compare(lower);
}

int LearnedWords::ComparePair(const PairRecord& pair, std::u16string_view first,
                              std::u16string_view folded, std::u16string_view lower) const {
  if (const int order = First(pair).compare(first)) return order;
  return CompareWord(pair.second, folded, lower);
}

bool LearnedWords::WordBefore(const WordRecord& a, const WordRecord& b) const {
  if (const int order = Folded(a.entry).compare(Folded(b.entry))) return order < 0;
  return LowerWord(Form(a.entry)) < LowerWord(Form(b.entry));
}

bool LearnedWords::PairBefore(const PairRecord& a, const PairRecord& b) const {
  if (const int order = First(a).compare(First(b))) return order < 0;
  return WordBefore({a.second, {}}, {b.second, {}});
}

std::size_t LearnedWords::WordAt(std::u16string_view folded, std::u16string_view lower) const {
  return static_cast<std::size_t>(
      std::partition_point(
          words_.begin(), words_.end(),
          [&](const WordRecord& w) { return CompareWord(w.entry, folded, lower) < 0; }) -
      words_.begin());
}

std::size_t LearnedWords::PairAt(std::u16string_view first, std::u16string_view folded,
                                 std::u16string_view lower) const {
  return static_cast<std::size_t>(
      std::partition_point(
          pairs_.begin(), pairs_.end(),
          [&](const PairRecord& p) { return ComparePair(p, first, folded, lower) < 0; }) -
      pairs_.begin());
}

bool LearnedWords::IsLowerForm(std::uint32_t entry) const {
  return Form(entry) == LowerWord(Form(entry));
}

void LearnedWords::Merge(PackedUse& into, WordUse use) {
  WordUse merged = Unpacked(into);
  merged.count = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(std::uint64_t{merged.count} + use.count, kMaxCount));
  merged.lastUse = std::max(merged.lastUse, std::min(use.lastUse, kMaxClock));
  clock_ = std::max(clock_, merged.lastUse);
  into = Packed(merged);
}

bool LearnedWords::IsLearnable(std::u16string_view word) {
  return !word.empty() && word.size() <= kLongestWord &&
         std::any_of(word.begin(), word.end(), IsWordLetter) &&
         std::none_of(word.begin(), word.end(), [](char16_t c) {
           return c <= 0x20 || c == 0x7F || c == 0xA0 || (c >= 0x2000 && c <= 0x200B) ||
                  c == 0x3000;
         });
}

void LearnedWords::CountUse(std::u16string_view word, std::u16string_view previous) {
  if (!IsLearnable(word)) return;
  // Uses read before come first, as if merged one by one.
  if (!readWords_.empty() || !readPairs_.empty()) KeepWithinLimits();
  clock_ = std::min(clock_ + 1, kMaxClock);
  const WordUse use{1, clock_};
  // Copies: the words may be views of the pool, which moves as it grows.
  const std::u16string wordCopy(word), previousCopy(previous);
  CountWord(wordCopy, use);
  if (IsLearnable(previousCopy)) CountPair(previousCopy, wordCopy, use);
  KeepWithinLimits();
}

// A word typed once in lower case is not a name: that form is kept rather
// than the capital of a sentence's start; otherwise the first form stays.
void LearnedWords::CountWord(std::u16string_view word, WordUse use) {
  const std::u16string folded = FoldWord(word), lower = LowerWord(word);
  const std::size_t at = WordAt(folded, lower);
  if (at < words_.size() && CompareWord(words_[at].entry, folded, lower) == 0) {
    WordRecord& known = words_[at];
    if (word == lower && Form(known.entry) != word) known.entry = AddEntry(word);
    const std::uint32_t before = known.use.count;
    Merge(known.use, use);
    totalUses_ += known.use.count - before;
    return;
  }
  WordRecord added{AddEntry(word), {}};
  Merge(added.use, use);
  totalUses_ += added.use.count;
  MakeRoom(words_, maxWords_);
  words_.insert(words_.begin() + static_cast<std::ptrdiff_t>(at), added);
}

void LearnedWords::CountPair(std::u16string_view first, std::u16string_view second, WordUse use) {
  const std::u16string firstLower = LowerWord(first);
  const std::u16string folded = FoldWord(second), lower = LowerWord(second);
  const std::size_t at = PairAt(firstLower, folded, lower);
  if (at < pairs_.size() && ComparePair(pairs_[at], firstLower, folded, lower) == 0) {
    PairRecord& known = pairs_[at];
    if (second == lower && Form(known.second) != second) known.second = AddEntry(second);
    Merge(known.use, use);
    return;
  }
  // The strings are most often those of a neighbour or of the words.
  PairRecord added{};
  if (at > 0 && First(pairs_[at - 1]) == firstLower) {
    added.first = pairs_[at - 1].first;
  } else if (at < pairs_.size() && First(pairs_[at]) == firstLower) {
    added.first = pairs_[at].first;
  } else if (const std::uint32_t ofWords = FirstOfWords(firstLower); ofWords != kNoEntry) {
    added.first = ofWords;
  } else {
    added.first = AddEntry(firstLower);
  }
  if (const std::size_t w = WordAt(folded, lower);
      w < words_.size() && Form(words_[w].entry) == second) {
    added.second = words_[w].entry;
  } else {
    added.second = AddEntry(second);
  }
  Merge(added.use, use);
  MakeRoom(pairs_, maxPairs_);
  pairs_.insert(pairs_.begin() + static_cast<std::ptrdiff_t>(at), added);
}

void LearnedWords::AddWord(std::u16string_view word, WordUse use) {
  if (!IsLearnable(word) || use.count == 0) return;
  WordRecord read{AddEntry(word), {}};
  Merge(read.use, use);
  readWords_.push_back(read);
}

void LearnedWords::AddPair(std::u16string_view first, std::u16string_view second, WordUse use) {
  if (!IsLearnable(first) || !IsLearnable(second) || use.count == 0) return;
  const std::u16string firstLower = LowerWord(first), secondCopy(second);
  PairRecord read{};
  // The file holds the pairs of one first word together.
  if (!readPairs_.empty() && First(readPairs_.back()) == firstLower) {
    read.first = readPairs_.back().first;
  } else {
    read.first = AddEntry(firstLower);
  }
  read.second = AddEntry(secondCopy);
  Merge(read.use, use);
  readPairs_.push_back(read);
}

namespace {

// The records read, sorted (the first of equal ones first), merged into the
// sorted records from before as if each had been merged on its own: equal
// ones become one, combined by `same(known, read)`.
template <class Record, class Before, class Same>
void MergeSortedRecords(std::vector<Record>& records, std::vector<Record>& read, Before before,
                        Same same) {
  std::stable_sort(read.begin(), read.end(), before);
  std::vector<Record> all;
  all.reserve(records.size() + read.size());
  std::merge(records.begin(), records.end(), read.begin(), read.end(), std::back_inserter(all),
             before);
  std::size_t kept = 0;
  for (const Record& record : all) {
    if (kept > 0 && !before(all[kept - 1], record)) {
      same(all[kept - 1], record);
    } else {
      all[kept++] = record;
    }
  }
  all.resize(kept);
  records = std::move(all);
}

}  // namespace

void LearnedWords::MergeReadWords() {
  if (readWords_.empty()) return;
  MergeSortedRecords(
      words_, readWords_,
      [this](const WordRecord& a, const WordRecord& b) { return WordBefore(a, b); },
      [this](WordRecord& known, const WordRecord& word) {
        if (IsLowerForm(word.entry)) known.entry = word.entry;
        Merge(known.use, Unpacked(word.use));
      });
  FreeAll(readWords_);
  totalUses_ = 0;
  for (const WordRecord& word : words_) totalUses_ += word.use.count;
}

void LearnedWords::MergeReadPairs() {
  if (readPairs_.empty()) return;
  MergeSortedRecords(
      pairs_, readPairs_,
      [this](const PairRecord& a, const PairRecord& b) { return PairBefore(a, b); },
      [this](PairRecord& known, const PairRecord& pair) {
        if (IsLowerForm(pair.second)) known.second = pair.second;
        Merge(known.use, Unpacked(pair.use));
      });
  FreeAll(readPairs_);
}

void LearnedWords::KeepWithinLimits() {
  const bool read = !readWords_.empty() || !readPairs_.empty();
  MergeReadWords();
  MergeReadPairs();
  KeepNewest(
      words_, maxWords_, +[](const WordRecord& w) { return Unpacked(w.use).lastUse; },
      [this](const WordRecord& w) {
        totalUses_ -= std::min<std::uint64_t>(totalUses_, w.use.count);
      });
  KeepNewest(
      pairs_, maxPairs_, +[](const PairRecord& p) { return Unpacked(p.use).lastUse; },
      [](const PairRecord&) {});
  if (read) {
    // A pair's first word read is most often a word kept, or its folded form.
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
      if (i > 0 && First(pairs_[i - 1]) == First(pairs_[i])) {
        pairs_[i].first = pairs_[i - 1].first;
      } else if (const std::uint32_t ofWords = FirstOfWords(First(pairs_[i]));
                 ofWords != kNoEntry) {
        pairs_[i].first = ofWords;
      }
    }
    words_.shrink_to_fit();
    pairs_.shrink_to_fit();
    CompactPool(true);
  } else if (pool_.size() > compactedPool_ + compactedPool_ / 8 + 1024) {
    CompactPool(false);
  }
}

void LearnedWords::CompactPool(bool sameForms) {
  std::vector<std::uint32_t> entries;
  entries.reserve(words_.size() + 2 * pairs_.size());
  for (const WordRecord& word : words_) entries.push_back(word.entry);
  for (const PairRecord& pair : pairs_) {
    entries.push_back(pair.first & ~kFirstIsFolded);
    entries.push_back(pair.second);
  }
  std::sort(entries.begin(), entries.end());
  entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
  if (sameForms) {
    std::stable_sort(entries.begin(), entries.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return Form(a) < Form(b); });
  }
  std::size_t size = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!sameForms || i == 0 || Form(entries[i - 1]) != Form(entries[i])) {
      size += EntrySize(entries[i]);
    }
  }
  // Where each entry went, by where it was.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> moved;
  moved.reserve(entries.size());
  std::vector<char16_t> pool;
  pool.reserve(size);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::uint32_t entry = entries[i];
    if (sameForms && i > 0 && Form(entries[i - 1]) == Form(entry)) {
      moved.emplace_back(entry, moved.back().second);
      continue;
    }
    moved.emplace_back(entry, static_cast<std::uint32_t>(pool.size()));
    pool.insert(pool.end(), pool_.begin() + entry, pool_.begin() + entry + EntrySize(entry));
  }
  if (sameForms) std::sort(moved.begin(), moved.end());
  auto movedTo = [&moved](std::uint32_t entry) {
    return std::lower_bound(moved.begin(), moved.end(), std::make_pair(entry, std::uint32_t{0}))
        ->second;
  };
  for (WordRecord& word : words_) word.entry = movedTo(word.entry);
  for (PairRecord& pair : pairs_) {
    pair.first = movedTo(pair.first & ~kFirstIsFolded) | (pair.first & kFirstIsFolded);
    pair.second = movedTo(pair.second);
  }
  pool_ = std::move(pool);
  compactedPool_ = pool_.size();
}

void LearnedWords::Clear() {
  FreeAll(pool_);
  compactedPool_ = 0;
  FreeAll(words_);
  FreeAll(pairs_);
  FreeAll(readWords_);
  FreeAll(readPairs_);
  totalUses_ = 0;
  clock_ = 0;
}

std::optional<WordUse> LearnedWords::Find(std::u16string_view word) const {
  const std::u16string folded = FoldWord(word), lower = LowerWord(word);
  const std::size_t at = WordAt(folded, lower);
  if (at == words_.size() || CompareWord(words_[at].entry, folded, lower) != 0) return std::nullopt;
  return Unpacked(words_[at].use);
}

void LearnedWords::ForEachWithFoldedPrefix(
    std::u16string_view foldedPrefix,
    const std::function<void(std::u16string_view, std::u16string_view, const WordUse&)>& visit)
    const {
  auto it = std::partition_point(words_.begin(), words_.end(), [&](const WordRecord& w) {
    return Folded(w.entry) < foldedPrefix;
  });
  for (; it != words_.end() && Folded(it->entry).starts_with(foldedPrefix); ++it) {
    visit(Form(it->entry), Folded(it->entry), Unpacked(it->use));
  }
}

void LearnedWords::ForEachNext(
    std::u16string_view first, std::u16string_view foldedPrefix,
    const std::function<void(std::u16string_view, const WordUse&)>& visit) const {
  const std::u16string firstLower = LowerWord(first);
  auto it = std::partition_point(pairs_.begin(), pairs_.end(), [&](const PairRecord& p) {
    const int order = First(p).compare(firstLower);
    return order < 0 || (order == 0 && Folded(p.second) < foldedPrefix);
  });
  for (; it != pairs_.end() && First(*it) == firstLower &&
         Folded(it->second).starts_with(foldedPrefix);
       ++it) {
    visit(Form(it->second), Unpacked(it->use));
  }
}

void LearnedWords::ForEachWord(
    const std::function<void(std::u16string_view, const WordUse&)>& visit) const {
  for (const WordRecord& word : words_) visit(Form(word.entry), Unpacked(word.use));
}

void LearnedWords::ForEachPair(const std::function<void(std::u16string_view, std::u16string_view,
                                                        const WordUse&)>& visit) const {
  for (const PairRecord& pair : pairs_) {
    visit(First(pair), Form(pair.second), Unpacked(pair.use));
  }
}

}  // namespace luma
