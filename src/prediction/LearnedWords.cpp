#include "prediction/LearnedWords.h"

#include <algorithm>
#include <vector>

#include "prediction/WordFolding.h"

namespace luma {
namespace {

constexpr char16_t kSeparator = u'\u0001';

std::u16string WordKey(std::u16string_view word) {
  return FoldWord(word) + kSeparator + LowerWord(word);
}

std::u16string PairKey(std::u16string_view first, std::u16string_view second) {
  return LowerWord(first) + kSeparator + WordKey(second);
}

// What follows the last separator of a key: the lower-case form.
std::u16string_view LowerPart(std::u16string_view key) {
  return key.substr(key.rfind(kSeparator) + 1);
}

// A word typed once in lower case is not a name: that form is kept rather
// than the capital of a sentence's start. An empty form stands for it.
void TakeForm(std::u16string& kept, std::u16string_view word, bool added) {
  if (word == LowerWord(word)) {
    kept.clear();
  } else if (added) {
    kept = word;
  }
}

std::u16string_view FormOf(std::u16string_view key, const std::u16string& form) {
  return form.empty() ? LowerPart(key) : std::u16string_view(form);
}

// The least recently used entries go until `max` are left; ties go in key order.
template <typename Map>
void KeepNewest(Map& map, std::size_t max, std::uint64_t& totalUses) {
  if (map.size() <= max) return;
  const std::size_t excess = map.size() - max;
  std::vector<std::uint64_t> stamps;
  stamps.reserve(map.size());
  for (const auto& entry : map) stamps.push_back(entry.second.use.lastUse);
  std::nth_element(stamps.begin(), stamps.begin() + (excess - 1), stamps.end());
  const std::uint64_t newestToGo = stamps[excess - 1];
  std::size_t sameToGo = excess - static_cast<std::size_t>(std::count_if(
                                      stamps.begin(), stamps.end(),
                                      [newestToGo](std::uint64_t s) { return s < newestToGo; }));
  for (auto it = map.begin(); it != map.end();) {
    const std::uint64_t stamp = it->second.use.lastUse;
    const bool goes = stamp < newestToGo || (stamp == newestToGo && sameToGo > 0);
    if (!goes) {
      ++it;
      continue;
    }
    if (stamp == newestToGo) --sameToGo;
    totalUses -= std::min<std::uint64_t>(totalUses, it->second.use.count);
    it = map.erase(it);
  }
}

}  // namespace

LearnedWords::LearnedWords(std::size_t maxWords, std::size_t maxPairs)
    : maxWords_(maxWords), maxPairs_(maxPairs) {}

void LearnedWords::Merge(WordUse& into, WordUse use) {
  const std::uint32_t before = into.count;
  into.count = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(std::uint64_t{into.count} + use.count, kMaxCount));
  into.lastUse = std::max(into.lastUse, std::min(use.lastUse, kMaxClock));
  clock_ = std::max(clock_, into.lastUse);
  totalUses_ += into.count - before;
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
  clock_ = std::min(clock_ + 1, kMaxClock);
  const WordUse use{1, clock_};
  AddWord(word, use);
  if (IsLearnable(previous)) AddPair(previous, word, use);
  KeepWithinLimits();
}

void LearnedWords::AddWord(std::u16string_view word, WordUse use) {
  if (!IsLearnable(word) || use.count == 0) return;
  auto [it, added] = words_.try_emplace(WordKey(word));
  TakeForm(it->second.form, word, added);
  Merge(it->second.use, use);
}

void LearnedWords::AddPair(std::u16string_view first, std::u16string_view second, WordUse use) {
  if (!IsLearnable(first) || !IsLearnable(second) || use.count == 0) return;
  auto [it, added] = pairs_.try_emplace(PairKey(first, second));
  TakeForm(it->second.form, second, added);
  // Pairs do not count into the words' total.
  const std::uint64_t total = totalUses_;
  Merge(it->second.use, use);
  totalUses_ = total;
}

void LearnedWords::KeepWithinLimits() {
  KeepNewest(words_, maxWords_, totalUses_);
  std::uint64_t pairUses = 0;
  KeepNewest(pairs_, maxPairs_, pairUses);
}

void LearnedWords::Clear() {
  words_.clear();
  pairs_.clear();
  totalUses_ = 0;
  clock_ = 0;
}

const WordUse* LearnedWords::Find(std::u16string_view word) const {
  const auto it = words_.find(WordKey(word));
  return it == words_.end() ? nullptr : &it->second.use;
}

void LearnedWords::ForEachWithFoldedPrefix(
    std::u16string_view foldedPrefix,
    const std::function<void(std::u16string_view, std::u16string_view, const WordUse&)>& visit)
    const {
  // The separator sorts below every letter, so the keys beginning with the
  // prefix are one range, in the order of the folded forms.
  for (auto it = words_.lower_bound(std::u16string(foldedPrefix));
       it != words_.end() && std::u16string_view(it->first).starts_with(foldedPrefix); ++it) {
    const std::u16string_view key = it->first;
    visit(FormOf(key, it->second.form), key.substr(0, key.find(kSeparator)), it->second.use);
  }
}

void LearnedWords::ForEachNext(
    std::u16string_view first, std::u16string_view foldedPrefix,
    const std::function<void(std::u16string_view, const WordUse&)>& visit) const {
  const std::u16string prefix = LowerWord(first) + kSeparator + std::u16string(foldedPrefix);
  for (auto it = pairs_.lower_bound(prefix);
       it != pairs_.end() && std::u16string_view(it->first).starts_with(prefix); ++it) {
    visit(FormOf(it->first, it->second.form), it->second.use);
  }
}

void LearnedWords::ForEachWord(
    const std::function<void(std::u16string_view, const WordUse&)>& visit) const {
  for (const auto& [key, learned] : words_) visit(FormOf(key, learned.form), learned.use);
}

void LearnedWords::ForEachPair(const std::function<void(std::u16string_view, std::u16string_view,
                                                        const WordUse&)>& visit) const {
  for (const auto& [key, pair] : pairs_) {
    const std::u16string_view keyView = key;
    visit(keyView.substr(0, keyView.find(kSeparator)), FormOf(key, pair.form), pair.use);
  }
}

}  // namespace luma
