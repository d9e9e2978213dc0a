// The suggestions of one language: the words of its table and the user's
// learned words that begin with the word in progress, ranked by frequency,
// use and what followed the word before; and the learning of what is typed.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "prediction/LearnedWords.h"
#include "prediction/WordTable.h"

namespace luma {

class WordPredictor {
 public:
  // `table` is null for a language without one. Both outlive the predictor.
  WordPredictor(const WordTable* table, LearnedWords& learned);

  // A row of `count` cells (an empty string is an empty cell), most likely on
  // the left, for the word in progress `typed` after `previous` (the word
  // before it, empty when there is none). With nothing typed, the words most
  // often typed after `previous`. A word equal to `typed` but for case and
  // accents is not offered. A word of `previousRow` that still matches keeps
  // its cell.
  std::vector<std::u16string> Suggest(std::u16string_view previous, std::u16string_view typed,
                                      std::span<const std::u16string> previousRow,
                                      std::size_t count) const;

  // A word typed or chosen, right after `previous` (empty when something
  // other than a space came between). A word the table lacks is offered from
  // its second use on.
  void Learn(std::u16string_view previous, std::u16string_view word);

 private:
  struct Candidate {
    std::u16string_view word;
    double score;
    // Orders equal scores: the table's rank, then the learned words.
    std::size_t order;
    static bool Before(const Candidate& a, const Candidate& b) {
      return a.score != b.score ? a.score > b.score : a.order < b.order;
    }
  };
  std::vector<Candidate> Ranked(std::u16string_view previous, std::u16string_view typed) const;
  std::vector<Candidate> NextWords(std::u16string_view previous, std::size_t count) const;
  bool Offerable(std::u16string_view word) const;

  const WordTable* table_;
  LearnedWords& learned_;
};

}  // namespace luma
