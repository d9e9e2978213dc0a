#include "lib/TextSplit.h"

namespace luma {

int SeparatorPos(std::string_view s, std::string_view seps) {
  for (const char sep : seps) {
    const auto pos = s.find(sep);
    if (pos != std::string_view::npos) return static_cast<int>(pos) + 1;
  }
  return 0;
}

std::string TextBefore(std::string_view s, std::string_view seps) {
  if (s.empty()) return {};
  const int pos = SeparatorPos(s, seps);
  if (pos == 0) return std::string(s);
  return std::string(s.substr(0, static_cast<std::size_t>(pos) - 1));
}

std::string TextAfter(std::string_view s, std::string_view seps) {
  if (s.empty()) return {};
  const int pos = SeparatorPos(s, seps);
  if (pos == 0) return std::string(s);
  return std::string(s.substr(static_cast<std::size_t>(pos)));
}

}  // namespace luma
