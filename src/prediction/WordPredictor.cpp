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

}  // namespace

WordPredictor::WordPredictor(const WordTable* table, LearnedWords& learned)
    : table_(table), learned_(learned) {}

bool WordPredictor::Offerable(std::u16string_view word) const {
  if (table_ && table_->Find(word)) return true;
  const std::optional<WordUse> use = learned_.Find(word);
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

std::vector<WordPredictor::Candidate> WordPredictor::NextWords(std::u16string_view previous,
                                                               std::size_t count) const {
  std::vector<Candidate> candidates;
  if (previous.empty()) return candidates;
  const double clock = static_cast<double>(learned_.Clock());
  learned_.ForEachNext(previous, u"", [&](std::u16string_view next, const WordUse& use) {
    // The count decides; recency only orders equal counts.
    const double recency = 1.0 - (clock - static_cast<double>(use.lastUse)) / (clock + 1.0);
    candidates.push_back({next, use.count + 0.5 * recency, candidates.size()});
  });
  // Only the best are sorted and looked up in the table: a common word may
  // have thousands of words after it.
  std::vector<Candidate> offerable;
  for (std::size_t sorted = 0; offerable.size() < count && sorted < candidates.size();) {
    const std::size_t next = std::min(candidates.size(), std::max(sorted * 2, count * 4));
    std::partial_sort(candidates.begin() + sorted, candidates.begin() + next, candidates.end(),
                      Candidate::Before);
    for (; sorted < next && offerable.size() < count; ++sorted) {
      if (Offerable(candidates[sorted].word)) offerable.push_back(candidates[sorted]);
    }
    sorted = next;
  }
  return offerable;
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

  // How often each word followed the word before, as a share of that word's
  // uses: table words by rank, the others by their lower-case form.
  std::unordered_map<std::size_t, std::uint32_t> tablePairs;
  std::unordered_map<std::u16string, std::uint32_t> ownPairs;
  const std::optional<WordUse> previousUse =
      previous.empty() ? std::nullopt : learned_.Find(previous);
  std::uint64_t pairTotal = previousUse ? previousUse->count : 0;
  if (!previous.empty()) {
    learned_.ForEachNext(previous, folded, [&](std::u16string_view next, const WordUse& use) {
      pairTotal = std::max<std::uint64_t>(pairTotal, use.count);
      const auto rank = table_ ? table_->Find(next) : std::nullopt;
      if (rank) {
        tablePairs[*rank] = use.count;
      } else {
        ownPairs[LowerWord(next)] = use.count;
      }
    });
  }
  auto score = [&](double frequency, const WordUse* use, std::uint32_t pairCount) {
    if (use) frequency += kUserWeight * userShare(*use);
    if (pairCount) frequency += kPairWeight * pairCount / (pairTotal + 1.0);
    return frequency;
  };

  struct LearnedMatch {
    std::u16string_view word;
    std::u16string_view folded;
    WordUse use;
    bool inTable;
  };
  std::vector<LearnedMatch> learnedWords;
  learned_.ForEachWithFoldedPrefix(
      folded, [&](std::u16string_view word, std::u16string_view wordFolded, const WordUse& use) {
        learnedWords.push_back({word, wordFolded, use, false});
      });

  std::vector<Candidate> candidates;
  const std::size_t afterTable = table_ ? table_->Size() : 0;
  auto offerOwn = [&](const LearnedMatch& own) {
    if (own.inTable || own.use.count < kUsesToLearn || own.folded == folded) return;
    std::uint32_t pairCount = 0;
    if (!ownPairs.empty()) {
      if (const auto it = ownPairs.find(LowerWord(own.word)); it != ownPairs.end()) {
        pairCount = it->second;
      }
    }
    candidates.push_back({own.word, score(0, &own.use, pairCount), afterTable + candidates.size()});
  };

  // Both lists are in the order of the folded forms: one pass pairs each
  // table word with its learned use (same folded and lower-case form).
  const std::span<const std::uint32_t> ranks =
      table_ ? table_->RanksWithFoldedPrefix(folded) : std::span<const std::uint32_t>();
  std::size_t own = 0;
  for (std::size_t i = 0; i < ranks.size();) {
    const std::u16string_view tableFolded = table_->FoldedWord(ranks[i]);
    std::size_t groupEnd = i;
    while (groupEnd < ranks.size() && table_->FoldedWord(ranks[groupEnd]) == tableFolded) {
      ++groupEnd;
    }
    while (own < learnedWords.size() && learnedWords[own].folded < tableFolded) {
      offerOwn(learnedWords[own++]);
    }
    std::size_t ownEnd = own;
    while (ownEnd < learnedWords.size() && learnedWords[ownEnd].folded == tableFolded) ++ownEnd;
    for (; i < groupEnd; ++i) {
      const std::uint32_t rank = ranks[i];
      const WordUse* use = nullptr;
      for (std::size_t k = own; k < ownEnd; ++k) {
        if (LowerWord(learnedWords[k].word) == LowerWord(table_->Word(rank))) {
          use = &learnedWords[k].use;
          learnedWords[k].inTable = true;
        }
      }
      if (tableFolded.size() == folded.size()) continue;
      std::uint32_t pairCount = 0;
      if (!tablePairs.empty()) {
        if (const auto it = tablePairs.find(rank); it != tablePairs.end()) pairCount = it->second;
      }
      candidates.push_back(
          {table_->Word(rank), score(table_->Frequency(rank), use, pairCount), rank});
    }
    while (own < ownEnd) offerOwn(learnedWords[own++]);
  }
  while (own < learnedWords.size()) offerOwn(learnedWords[own++]);
  return candidates;
}

std::vector<std::u16string> WordPredictor::Suggest(std::u16string_view previous,
                                                   std::u16string_view typed,
                                                   std::span<const std::u16string> previousRow,
                                                   std::size_t count) const {
  std::vector<std::u16string> row(count);
  // Control characters belong to no word, and the learned words' keys use one.
  if (typed.size() > LearnedWords::kLongestWord ||
      std::any_of(typed.begin(), typed.end(), [](char16_t c) { return c < 0x20; })) {
    return row;
  }
  std::vector<Candidate> candidates =
      typed.empty() ? NextWords(previous, count) : Ranked(previous, typed);

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
                    Candidate::Before);
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
