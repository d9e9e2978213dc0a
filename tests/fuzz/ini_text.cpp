// The settings file's line rewrite over arbitrary bytes: every line keeps its
// text, every line ends in CR LF afterwards, a second rewrite changes nothing,
// and a file already in shape is left exactly as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "settings/IniText.h"

namespace {

using luma::fuzz::Check;

// Lines ended by CR LF, CR or LF; the text after the last end is a line when
// it is not empty.
std::vector<std::string> LinesOf(std::string_view bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    lines.push_back(line);
    line.clear();
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = luma::fuzz::AsText(data, size);
  const std::string rewritten = luma::WithCrLfLineEnds(bytes);

  std::string expected;
  for (const std::string& line : LinesOf(bytes)) expected += line + "\r\n";
  Check(rewritten == expected, "a line lost or changed its text");
  Check(luma::HasCrLfLineEnds(rewritten), "a rewritten line without CR LF");
  Check(luma::WithCrLfLineEnds(rewritten) == rewritten, "a second rewrite changes the file");
  Check(luma::HasCrLfLineEnds(bytes) == (rewritten == bytes),
        "a file in shape is changed, or one out of shape is taken as in shape");

  const bool bom = bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF");
  Check(luma::IsSingleByteText(bytes) == (!bom && bytes.find('\0') == std::string_view::npos),
        "single-byte text misjudged");
  return 0;
}
