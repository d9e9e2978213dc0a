// Word tables for the tests, in the blob form the build makes of
// data/words/<lang>.tsv: "LWT1", count, notice, then per word its step in
// centibels and its UTF-8 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "prediction/TextCoding.h"
#include "prediction/WordTable.h"

namespace luma {

// Test text as UTF-8 literals.
inline std::u16string U16(const std::string& utf8) { return Utf16FromUtf8(utf8).value_or(u"?"); }

// The cells joined by '|', empty cells as nothing.
inline std::string Row(const std::vector<std::u16string>& cells) {
  std::string text;
  for (std::size_t i = 0; i < cells.size(); ++i) text += (i ? "|" : "") + Utf8FromUtf16(cells[i]);
  return text;
}

struct TableWord {
  std::string word;  // UTF-8
  int centibels;     // most frequent first
};

inline std::vector<std::uint8_t> WordBlob(const std::vector<TableWord>& words,
                                          const std::string& notice = "# test table") {
  std::vector<std::uint8_t> blob = {'L', 'W', 'T', '1'};
  auto number = [&blob](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) blob.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  number(static_cast<std::uint32_t>(words.size()), 4);
  number(static_cast<std::uint32_t>(notice.size()), 2);
  blob.insert(blob.end(), notice.begin(), notice.end());
  int previous = 0;
  for (const TableWord& w : words) {
    number(static_cast<std::uint32_t>(w.centibels - previous), 1);
    number(static_cast<std::uint32_t>(w.word.size()), 1);
    blob.insert(blob.end(), w.word.begin(), w.word.end());
    previous = w.centibels;
  }
  return blob;
}

inline WordTable LoadedTable(const std::vector<TableWord>& words) {
  WordTable table;
  table.Load(WordBlob(words));
  return table;
}

}  // namespace luma
