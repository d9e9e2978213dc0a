#include "prediction/WordPredictor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

#include "prediction/WordFolding.h"

namespace luma {
namespace {

// A word the table lacks is offered from this many uses on.
constexpr std::uint32_t kUsesToLearn = 2;

// How the shares of a word are weighed: its frequency in the table (a share
// of all running words), its share of the user's words, and its share of the
// words the user typed after the word before.
constexpr double kUserWeight = 0.3;
constexpr double kUserPrior = 20.0;
constexpr double kPairWeight = 0.5;
// Words used within about this many words count up to twice.
constexpr double kRecentWords = 200.0;

struct Boost {
  const WordUse* use = nullptr;
  std::uint32_t pairCount = 0;
};

}  // namespace

WordPredictor::WordPredictor(const WordTable* table, LearnedWords& learned)
    : table_(table), learned_(learned) {}

bool WordPredictor::Offerable(std::u16string_view word) const {
  if (table_ && table_->Find(word)) return true;
  const WordUse* use = learned_.Find(word);
  return use && use->count >= kUsesToLearn;
}

void WordPredictor::Learn(std::u16string_view previous, std::u16string_view word) {
  if (!LearnedWords::IsLearnable(word)) return;
  std::u16string form(word);
  if (table_) {
    if (const auto rank = table_->Find(word)) form = table_->Word(*rank);
  }
  learned_.CountUse(form, previous);
}

std::vector<WordPredictor::Candidate> WordPredictor::NextWords(std::u16string_view previous) const {
  std::vector<Candidate> candidates;
  if (previous.empty()) return candidates;
  const double clock = static_cast<double>(learned_.Clock());
  learned_.ForEachNext(previous, [&](std::u16string_view next, const WordUse& use) {
    if (!Offerable(next)) return;
    // The count decides; recency only orders equal counts.
    const double recency = 1.0 - (clock - static_cast<double>(use.lastUse)) / (clock + 1.0);
    candidates.push_back({next, use.count + 0.5 * recency, candidates.size()});
  });
  return candidates;
}

std::vector<WordPredictor::Candidate> WordPredictor::Ranked(std::u16string_view previous,
                                                            std::u16string_view typed) const {
  const std::u16string folded = FoldWord(typed);
  const double clock = static_cast<double>(learned_.Clock());
  const double userTotal = static_cast<double>(learned_.TotalUses()) + kUserPrior;
  auto userShare = [&](const WordUse& use) {
    const double age = clock - static_cast<double>(use.lastUse);
    return use.count / userTotal * (1.0 + std::exp(-age / kRecentWords));
  };

  // What the user's words add, by table rank; the words the table lacks apart.
  std::unordered_map<std::size_t, Boost> tableBoosts;
  std::vector<std::pair<std::u16string_view, Boost>> ownWords;
  auto boostOf = [&](std::u16string_view word) -> Boost& {
    if (table_) {
      if (const auto rank = table_->Find(word)) return tableBoosts[*rank];
    }
    for (auto& [own, boost] : ownWords) {
      if (LowerWord(own) == LowerWord(word)) return boost;
    }
    return ownWords.emplace_back(word, Boost{}).second;
  };
  learned_.ForEachWithFoldedPrefix(
      folded, [&](std::u16string_view word, const WordUse& use) { boostOf(word).use = &use; });
  std::uint64_t pairTotal = 0;
  if (!previous.empty()) {
    learned_.ForEachNext(previous, [&](std::u16string_view next, const WordUse& use) {
      pairTotal += use.count;
      if (FoldWord(next).starts_with(folded)) boostOf(next).pairCount = use.count;
    });
  }
  auto boostScore = [&](const Boost& boost) {
    double score = 0;
    if (boost.use) score += kUserWeight * userShare(*boost.use);
    if (boost.pairCount) score += kPairWeight * boost.pairCount / (pairTotal + 1.0);
    return score;
  };

  std::vector<Candidate> candidates;
  if (table_) {
    for (const std::uint32_t rank : table_->RanksWithFoldedPrefix(folded)) {
      if (table_->FoldedWord(rank).size() == folded.size()) continue;
      double score = table_->Frequency(rank);
      if (!tableBoosts.empty()) {
        if (const auto it = tableBoosts.find(rank); it != tableBoosts.end()) {
          score += boostScore(it->second);
        }
      }
      candidates.push_back({table_->Word(rank), score, rank});
    }
  }
  const std::size_t afterTable = table_ ? table_->Size() : 0;
  for (const auto& [word, boost] : ownWords) {
    const WordUse* use = learned_.Find(word);
    if (!use || use->count < kUsesToLearn || FoldWord(word) == folded) continue;
    candidates.push_back({word, boostScore(boost), afterTable + candidates.size()});
  }
  return candidates;
}

std::vector<std::u16string> WordPredictor::Suggest(std::u16string_view previous,
                                                   std::u16string_view typed,
                                                   std::span<const std::u16string> previousRow,
                                                   std::size_t count) const {
  std::vector<std::u16string> row(count);
  if (typed.size() > LearnedWords::kLongestWord) return row;
  std::vector<Candidate> candidates = typed.empty() ? NextWords(previous) : Ranked(previous, typed);

  const std::u16string folded = FoldWord(typed);
  std::size_t filled = 0;
  if (!typed.empty()) {
    for (std::size_t i = 0; i < count && i < previousRow.size(); ++i) {
      const std::u16string kept = FoldWord(previousRow[i]);
      if (kept.size() > folded.size() && kept.starts_with(folded)) {
        row[i] = previousRow[i];
        ++filled;
      }
    }
  }

  const std::size_t wanted = std::min(candidates.size(), count + filled);
  std::partial_sort(candidates.begin(), candidates.begin() + wanted, candidates.end(),
                    [](const Candidate& a, const Candidate& b) {
                      return a.score != b.score ? a.score > b.score : a.order < b.order;
                    });
  std::size_t cell = 0;
  for (std::size_t i = 0; i < wanted && filled < count; ++i) {
    const std::u16string_view word = candidates[i].word;
    if (std::find(row.begin(), row.end(), word) != row.end()) continue;
    while (!row[cell].empty()) ++cell;
    row[cell] = word;
    ++filled;
  }
  return row;
}

}  // namespace luma
