#include "wordrow/TableWords.h"

#include <utility>

namespace luma {

TableWords::TableWords(TableBlobs blobs) : blobs_(std::move(blobs)) { Follow(0); }

const WordTable* TableWords::TableOf(std::uint16_t primaryLanguage) {
  const std::optional<std::string_view> name = LanguageTableName(primaryLanguage);
  if (!name) return nullptr;
  auto found = tables_.find(*name);
  if (found == tables_.end()) {
    auto table = std::make_unique<WordTable>();
    if (!blobs_ || !table->Load(blobs_(*name))) table.reset();
    found = tables_.emplace(std::string(*name), std::move(table)).first;
  }
  return found->second.get();
}

void TableWords::Follow(std::uint16_t primaryLanguage) {
  language_ = primaryLanguage;
  // A map keeps its elements where they are: the predictor may hold one.
  LearnedWords& learned = learned_[LearnedLanguageKey(primaryLanguage)];
  predictor_ = std::make_unique<WordPredictor>(TableOf(primaryLanguage), learned);
}

bool TableWords::SetLanguage(std::uint16_t primaryLanguage) {
  Follow(primaryLanguage);
  return TableOf(primaryLanguage) != nullptr;
}

std::vector<std::u16string> TableWords::Suggest(std::u16string_view prefix,
                                                std::u16string_view previous, int count,
                                                const std::vector<std::u16string>& shown) {
  if (count <= 0) return {};
  std::vector<std::u16string> row =
      predictor_->Suggest(previous, prefix, shown, static_cast<std::size_t>(count));
  // Empty cells at the end say nothing more.
  while (!row.empty() && row.back().empty()) row.pop_back();
  return row;
}

void TableWords::Learn(std::u16string_view word, std::u16string_view previous) {
  predictor_->Learn(previous, word);
  changed_ = true;
}

void TableWords::LoadLearned(std::string_view text) {
  learned_ = ParseLearned(text);
  Follow(language_);
}

std::string TableWords::LearnedText() const { return SerializeLearned(learned_); }

void TableWords::Forget() {
  learned_.clear();
  Follow(language_);
  changed_ = true;
}

}  // namespace luma
