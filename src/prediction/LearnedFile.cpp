#include "prediction/LearnedFile.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

#include "prediction/TextCoding.h"

namespace luma {
namespace {

constexpr std::string_view kHeading =
    "# Lumatype: the words learned for word prediction, per language: each word's uses and "
    "last use, and how often one word followed another.\n";
constexpr std::size_t kLongestLanguageKey = 16;

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// Digits only; a number beyond `limit` is held at it.
std::optional<std::uint64_t> Number(std::string_view field, std::uint64_t limit) {
  if (field.empty() ||
      !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error == std::errc::result_out_of_range || value > limit) return limit;
  return value;
}

std::optional<std::u16string> Word(std::string_view field) {
  std::optional<std::u16string> word = Utf16FromUtf8(field);
  if (!word || !LearnedWords::IsLearnable(*word)) return std::nullopt;
  return word;
}

std::optional<std::string> LanguageKey(std::string_view line) {
  if (line.size() < 3 || line.front() != '[' || line.back() != ']') return std::nullopt;
  const std::string_view key = line.substr(1, line.size() - 2);
  const bool plain = std::all_of(key.begin(), key.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
  });
  if (!plain || key.size() > kLongestLanguageKey) return std::nullopt;
  return std::string(key);
}

void ReadLine(std::string_view line, LearnedWords& learned) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.empty()) return;
  const bool word = fields[0] == "word" && fields.size() == 4;
  const bool pair = fields[0] == "pair" && fields.size() == 5;
  if (!word && !pair) return;
  const auto count = Number(fields[1], LearnedWords::kMaxCount);
  const auto lastUse = Number(fields[2], LearnedWords::kMaxClock);
  if (!count || *count == 0 || !lastUse) return;
  const WordUse use{static_cast<std::uint32_t>(*count), *lastUse};
  const auto first = Word(fields[3]);
  if (!first) return;
  if (word) {
    learned.AddWord(*first, use);
  } else if (const auto second = Word(fields[4])) {
    learned.AddPair(*first, *second, use);
  }
}

}  // namespace

std::string SerializeLearned(const LearnedLanguages& languages) {
  std::string text(kHeading);
  for (const auto& [key, learned] : languages) {
    if (learned.WordCount() == 0 && learned.PairCount() == 0) continue;
    text += "[" + key + "]\n";
    learned.ForEachWord([&text](std::u16string_view word, const WordUse& use) {
      text += "word " + std::to_string(use.count) + " " + std::to_string(use.lastUse) + " " +
              Utf8FromUtf16(word) + "\n";
    });
    learned.ForEachPair(
        [&text](std::u16string_view first, std::u16string_view second, const WordUse& use) {
          text += "pair " + std::to_string(use.count) + " " + std::to_string(use.lastUse) + " " +
                  Utf8FromUtf16(first) + " " + Utf8FromUtf16(second) + "\n";
        });
  }
  return text;
}

LearnedLanguages ParseLearned(std::string_view text) {
  LearnedLanguages languages;
  LearnedWords* section = nullptr;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
      line.remove_suffix(1);
    }
    if (line.starts_with("[")) {
      const std::optional<std::string> key = LanguageKey(line);
      section = key ? &languages[*key] : nullptr;
    } else if (section) {
      ReadLine(line, *section);
    }
  }
  for (auto& [key, learned] : languages) learned.KeepWithinLimits();
  std::erase_if(languages, [](const auto& entry) {
    return entry.second.WordCount() == 0 && entry.second.PairCount() == 0;
  });
  return languages;
}

}  // namespace luma
