#include "prediction/LetterCase.h"

#include <array>

namespace luma::letters {

namespace {

// A run of capitals and the small letters `offset` above them: every
// character of the run (step 1) or every other one (step 2, the
// capital/small pairs of the extended Latin and Cyrillic blocks).
struct CaseRun {
  char16_t firstCapital;
  char16_t lastCapital;
  int offset;
  int step;
};

constexpr std::array<CaseRun, 22> kCaseRuns{{
    {0x0041, 0x005A, 32, 1},    // A-Z
    {0x00C0, 0x00D6, 32, 1},    // À-Ö
    {0x00D8, 0x00DE, 32, 1},    // Ø-Þ
    {0x0100, 0x012E, 1, 2},     // Ā-Į
    {0x0132, 0x0136, 1, 2},     // Ĳ-Ķ
    {0x0139, 0x0147, 1, 2},     // Ĺ-Ň (Ł)
    {0x014A, 0x0176, 1, 2},     // Ŋ-Ŷ (Œ, Ś, Š)
    {0x0178, 0x0178, -121, 1},  // Ÿ
    {0x0179, 0x017D, 1, 2},     // Ź-Ž
    {0x0218, 0x021A, 1, 2},     // Ș, Ț
    {0x0386, 0x0386, 38, 1},    // Ά
    {0x0388, 0x038A, 37, 1},    // Έ-Ί
    {0x0391, 0x03A1, 32, 1},    // Α-Ρ
    {0x03A3, 0x03AB, 32, 1},    // Σ-Ϋ
    {0x0400, 0x040F, 80, 1},    // Ѐ-Џ (Ё)
    {0x0410, 0x042F, 32, 1},    // А-Я
    {0x0460, 0x0480, 1, 2},     // Ѡ-Ҁ
    {0x048A, 0x04BE, 1, 2},     // Ҋ-Ҿ (Ґ)
    {0x04C1, 0x04CD, 1, 2},     // Ӂ-Ӎ
    {0x04D0, 0x052E, 1, 2},     // Ӑ-Ԯ
    {0x1E00, 0x1E94, 1, 2},     // Ḁ-Ẕ
    {0x1EA0, 0x1EFE, 1, 2},     // Ạ-Ỿ
}};

bool InRun(int c, int first, int last, int step) {
  return c >= first && c <= last && (c - first) % step == 0;
}

bool InRange(char16_t c, int low, int high) { return c >= low && c <= high; }

}  // namespace

bool IsLetter(char16_t c) {
  if (c < 0x80) return InRange(c, 'A', 'Z') || InRange(c, 'a', 'z');
  if (c < 0x100)
    return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
  // The Greek question mark and ano teleia are punctuation in a letter block.
  if (InRange(c, 0x100, 0x1FFF)) return c != 0x037E && c != 0x0387;
  // General punctuation, symbols, arrows, box drawing... up to the CJK
  // punctuation: no letters the tables hold.
  if (InRange(c, 0x2C00, 0x2DFF)) return true;
  if (InRange(c, 0x3040, 0xD7FF)) return true;
  if (InRange(c, 0xF900, 0xFDFF) || InRange(c, 0xFE70, 0xFEFF)) return true;
  return InRange(c, 0xFF21, 0xFF3A) || InRange(c, 0xFF41, 0xFF5A) || InRange(c, 0xFF66, 0xFFDC);
}

bool IsLetterOrDigit(char16_t c) { return InRange(c, '0', '9') || IsLetter(c); }

char16_t SmallOf(char16_t c) {
  for (const CaseRun& run : kCaseRuns) {
    if (InRun(c, run.firstCapital, run.lastCapital, run.step)) {
      return static_cast<char16_t>(c + run.offset);
    }
  }
  return c;
}

char16_t CapitalOf(char16_t c) {
  for (const CaseRun& run : kCaseRuns) {
    if (InRun(c, run.firstCapital + run.offset, run.lastCapital + run.offset, run.step)) {
      return static_cast<char16_t>(c - run.offset);
    }
  }
  return c;
}

bool IsCapital(char16_t c) { return SmallOf(c) != c; }

std::u16string WithCapitalFirst(std::u16string_view word) {
  std::u16string result(word);
  if (!result.empty()) result[0] = CapitalOf(result[0]);
  return result;
}

std::u16string AllCapitals(std::u16string_view word) {
  std::u16string result(word);
  for (char16_t& c : result) c = CapitalOf(c);
  return result;
}

}  // namespace luma::letters
