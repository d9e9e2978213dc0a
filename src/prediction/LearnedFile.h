// The learned words of every language as one UTF-8 text file:
//
//   [en]
//   word 3 1498 backup
//   pair 2 1498 the backup
//
// A section per language; "word COUNT LAST-USE WORD" and "pair COUNT LAST-USE
// FIRST SECOND", in the order of the words, never in the order they were
// typed. Strings in and out: reading and writing the file is the caller's.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "prediction/LearnedWords.h"

namespace luma {

// Keyed by LearnedLanguageKey.
using LearnedLanguages = std::map<std::string, LearnedWords, std::less<>>;

std::string SerializeLearned(const LearnedLanguages& languages);
// Reads what makes sense of any text and skips the rest: a line that is not
// understood, a word that is not UTF-8, a count of none or less. Counts and
// clocks beyond the limits are held at them, and each language keeps its
// most recently used words and pairs within the limits.
LearnedLanguages ParseLearned(std::string_view text);

}  // namespace luma
