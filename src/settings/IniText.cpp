#include "settings/IniText.h"

#include <cstdint>

namespace luma {
namespace {

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

std::optional<std::int32_t> ParseIniInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  int base = 10;
  const std::string_view rest = text.substr(i);
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    i += 2;
  } else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    base = 16;
    i += 1;
  }
  if (i == text.size()) return std::nullopt;

  // Decimal may reach 2^31 for the negative limit; hex stops at 0x7FFFFFFF.
  const std::uint64_t limit = base == 10 && negative ? 0x80000000u : 0x7FFFFFFFu;
  std::uint64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return std::nullopt;
  }
  const std::int64_t value =
      negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
  return static_cast<std::int32_t>(value);
}

bool IsSingleByteText(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return false;
  return bytes.find('\0') == std::string_view::npos;
}

bool HasCrLfLineEnds(std::string_view bytes) {
  if (bytes.empty()) return true;
  if (!bytes.ends_with("\r\n")) return false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n')) return false;
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  }
  return true;
}

std::string WithCrLfLineEnds(std::string_view bytes) {
  std::string result;
  result.reserve(bytes.size() + bytes.size() / 16 + 2);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      result.append(bytes.substr(i)).append("\r\n");
      break;
    }
    result.append(bytes.substr(i, end - i)).append("\r\n");
    i = end + (bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1);
  }
  return result;
}

}  // namespace luma
