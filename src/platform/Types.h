// Small value types shared by the portable core and the Win32 shell.
// The core never includes <windows.h>; the shell converts at the border.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace luma {

// 0x00BBGGRR for an RGB color; 0xFF0000nn for Windows system color nn,
// resolved with GetSysColor only when something is drawn with it.
using Color = std::uint32_t;

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
  return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr unsigned RedOf(Color c) { return c & 0xFF; }
constexpr unsigned GreenOf(Color c) { return (c >> 8) & 0xFF; }
constexpr unsigned BlueOf(Color c) { return (c >> 16) & 0xFF; }
constexpr Color SysColor(unsigned index) { return 0xFF000000u | index; }
constexpr bool IsSysColor(Color c) { return (c & 0xFF000000u) == 0xFF000000u; }

// Pure green in a scheme is a marker, not a color: a key whose rest face it
// is is drawn as the keyboard background, dimming leaves it as it is, and
// text on a face drawn in it goes through the text bitmap.
constexpr Color kBackgroundFace = Rgb(0, 255, 0);

// a * b / c in 64 bits, rounded to the nearest integer with halves away from
// zero, as Windows' MulDiv rounds.
constexpr std::int64_t MulDivRounded(std::int64_t a, std::int64_t b, std::int64_t c) {
  const std::int64_t product = a * b;
  const std::int64_t half = c / 2;
  const bool negative = (product < 0) != (c < 0);
  return negative ? (product - half) / c : (product + half) / c;
}

// ASCII case folding whatever the locale: only a..z and A..Z change.
template <class Char>
constexpr Char AsciiUpper(Char c) {
  return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}
template <class Char>
constexpr Char AsciiLower(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

// Windows system color indices used by the color schemes.
enum SysColorIndex : unsigned {
  kColorWindow = 5,
  kColorWindowText = 8,
  kColorHighlight = 13,
  kColorBtnFace = 15,
  kColorBtnShadow = 16,
};

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// A keyboard layout handle. Only the low 32 bits carry meaning; the shell
// passes the real HKL bits through unchanged (sign-extended on 64-bit Windows).
using Hkl = std::uintptr_t;
constexpr Hkl kUsEnglishHkl = 0x04090409;

// 256 bytes in the Windows keyboard-state encoding: 0x80 down, 0x01 toggled.
using KeyStateArray = std::array<std::uint8_t, 256>;

// DrawTextExW format flags, same values as DT_*.
enum TextFormat : unsigned {
  kDtLeft = 0x0000,
  kDtCenter = 0x0001,
  kDtVCenter = 0x0004,
  kDtSingleLine = 0x0020,
  kDtNoPrefix = 0x0800,
};

struct FontSpec {
  std::string name = "Tahoma";
  int size = 8;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  Color color = 0;
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

}  // namespace luma
