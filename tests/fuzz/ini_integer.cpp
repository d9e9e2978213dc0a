// The number rule of the settings file against a reference written the long
// way: split the text into blanks, sign, base prefix and digits, then compare
// the digits (leading zeros dropped) with the limits as text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "settings/IniText.h"

namespace {

bool IsDigitOf(char c, bool hex) {
  if (c >= '0' && c <= '9') return true;
  return hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'));
}

// Digit strings of equal length compare as text; hex letters in one case.
bool AtMost(std::string digits, std::string_view limit) {
  for (char& c : digits)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  if (digits.size() != limit.size()) return digits.size() < limit.size();
  return digits <= limit;
}

std::optional<std::int32_t> Reference(std::string_view text) {
  std::string_view rest = text;
  while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  bool hex = false;
  for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (rest.starts_with(prefix)) {
      hex = true;
      rest.remove_prefix(prefix.size());
      break;
    }
  }
  if (rest.empty()) return std::nullopt;
  for (const char c : rest)
    if (!IsDigitOf(c, hex)) return std::nullopt;

  std::string digits(rest.substr(std::min(rest.find_first_not_of('0'), rest.size())));
  const std::string_view limit = hex ? "7FFFFFFF" : negative ? "2147483648" : "2147483647";
  if (!AtMost(digits, limit)) return std::nullopt;
  const std::int64_t magnitude = digits.empty() ? 0 : std::stoll(digits, nullptr, hex ? 16 : 10);
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = luma::fuzz::AsText(data, size);
  luma::fuzz::Check(luma::ParseIniInteger(text) == Reference(text),
                    "the number rule disagrees with the reference");
  return 0;
}
