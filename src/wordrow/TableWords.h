// The words suggested: those of the tables the program carries, one per
// language, and those the user taught it, per language. A table is read on
// the first use of its language.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "prediction/LearnedFile.h"
#include "prediction/WordPredictor.h"
#include "prediction/WordTable.h"
#include "wordrow/WordSuggestions.h"

namespace luma {

class TableWords final : public WordSource {
 public:
  // The compact table of that name ("en", "de" …); empty when there is none.
  using TableBlobs = std::function<std::span<const std::uint8_t>(std::string_view name)>;
  explicit TableWords(TableBlobs blobs);

  bool SetLanguage(std::uint16_t primaryLanguage) override;
  std::vector<std::u16string> Suggest(std::u16string_view prefix, std::u16string_view previous,
                                      int count, const std::vector<std::u16string>& shown) override;
  void Learn(std::u16string_view word, std::u16string_view previous) override;

  // What a learned-words file holds, in place of what was learned so far.
  void LoadLearned(std::string_view text);
  std::string LearnedText() const;
  // Something was learned since the last MarkSaved.
  bool Changed() const { return changed_; }
  void MarkSaved() { changed_ = false; }
  // The learned words of every language go.
  void Forget();

 private:
  const WordTable* TableOf(std::uint16_t primaryLanguage);
  void Follow(std::uint16_t primaryLanguage);

  TableBlobs blobs_;
  // Loaded on first use; a table that would not load stays null.
  std::map<std::string, std::unique_ptr<WordTable>, std::less<>> tables_;
  LearnedLanguages learned_;
  std::uint16_t language_ = 0;
  std::unique_ptr<WordPredictor> predictor_;
  bool changed_ = false;
};

}  // namespace luma
