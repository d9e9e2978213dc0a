#include "prediction/WordFolding.h"

#include <cstddef>

namespace luma {
namespace {

// The base letter of each of U+00C0..U+017F. Capitals stand for two letters
// (A ae, O oe, S ss, T th, I ij); '_' is not a letter (× ÷).
constexpr std::string_view kLatinBase =
    "aaaaaaAceeeeiiiidnooooo_ouuuuyTS"
    "aaaaaaAceeeeiiiidnooooo_ouuuuyTy"
    "aaaaaaccccccccddddeeeeeeeeeegggggggghhhhiiiiiiiiiiIIjjkkkllllllllll"
    "nnnnnnnnnoooooo"
    "OOrrrrrrssssssssttttttuuuuuuuuuuuuwwyyyzzzzzzs";
static_assert(kLatinBase.size() == 0x180 - 0xC0);

std::u16string_view Spelled(char base) {
  switch (base) {
    case 'A':
      return u"ae";
    case 'O':
      return u"oe";
    case 'S':
      return u"ss";
    case 'T':
      return u"th";
    case 'I':
      return u"ij";
  }
  return {};
}

char16_t LowerLetter(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c + 0x20;
  if (c < 0xC0) return c;
  if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return u'i';
    if (c == 0x178) return 0xFF;
    // Pairs start on even code points up to U+0137 and from U+014A, on odd
    // ones in between and from U+0179.
    const bool oddPairs = (c >= 0x139 && c <= 0x148) || c >= 0x179;
    if (c == 0x138 || c == 0x149 || c == 0x17F) return c;
    const bool capital = oddPairs ? (c % 2 == 1) : (c % 2 == 0);
    return capital ? c + 1 : c;
  }
  if (c >= 0x391 && c <= 0x3A9) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

}  // namespace

std::u16string LowerWord(std::u16string_view word) {
  std::u16string lower(word);
  for (char16_t& c : lower) c = LowerLetter(c);
  return lower;
}

std::u16string FoldWord(std::u16string_view word) {
  std::u16string folded;
  folded.reserve(word.size() + 2);
  AppendFoldedWord(word, folded);
  return folded;
}

void AppendFoldedWord(std::u16string_view word, std::u16string& folded) {
  for (const char16_t original : word) {
    const char16_t c = LowerLetter(original);
    if (c >= 0xC0 && c <= 0x17F) {
      const char base = kLatinBase[c - 0xC0];
      if (base == '_') {
        folded += c;
      } else if (const std::u16string_view two = Spelled(base); !two.empty()) {
        folded += two;
      } else {
        folded += static_cast<char16_t>(base);
      }
    } else if (c == 0x451) {
      folded += u'\u0435';
    } else if (c == 0x2019) {
      folded += u'\'';
    } else {
      folded += c;
    }
  }
}

bool IsWordLetter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
         (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x386 && c <= 0x3FF) ||
         (c >= 0x400 && c <= 0x4FF);
}

}  // namespace luma
