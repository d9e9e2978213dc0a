#include "keyboard/LayoutLoader.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "keyboard/Keyboard.h"

namespace luma {

namespace {

// A decimal integer with an optional leading minus and nothing else: no
// blanks, no plus sign, no other notation.
bool ParseInt(std::string_view text, std::int32_t& out) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == '-';
  if (negative) i = 1;
  if (i == text.size()) return false;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    return false;
  out = static_cast<std::int32_t>(value);
  return true;
}

// CR LF, a lone CR or a lone LF each end a line; a final line break does not
// start another line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

// name=value entries by lower-case name; the first line of a name counts.
class Entries {
 public:
  explicit Entries(const std::vector<std::string_view>& lines) {
    for (const std::string_view line : lines) {
      const auto eq = line.find('=');
      if (eq == std::string_view::npos) continue;
      values_.emplace(Lower(line.substr(0, eq)), std::string(line.substr(eq + 1)));
    }
  }
  // The value, or empty when the entry is missing.
  std::string Value(std::string_view name) const {
    const auto it = values_.find(Lower(name));
    return it == values_.end() ? std::string() : it->second;
  }

 private:
  std::map<std::string, std::string> values_;
};

// A size entry: missing or empty gives the default.
bool ReadSize(const Entries& entries, std::string_view name, std::int32_t fallback,
              std::int32_t& out) {
  const std::string value = entries.Value(name);
  if (value.empty()) {
    out = fallback;
    return true;
  }
  return ParseInt(value, out);
}

// The flat coordinate list of one key value; false on an item that is not
// an integer pair, a single integer, "pic:" or "pictr:".
bool ReadKeyValues(const std::string& value, std::vector<std::int32_t>& out) {
  out.clear();
  std::string rest = value + ";";
  if (rest == ";") return true;
  while (!rest.empty()) {
    const std::string item = TextBefore(rest, ";");
    rest = TextAfter(rest, ";");
    if (item.compare(0, 4, "pic:") == 0 || item.compare(0, 6, "pictr:") == 0) continue;
    std::int32_t x = 0, y = 0;
    // Without a comma both halves are the whole item: the point (n, n).
    if (!ParseInt(TextBefore(item, ","), x) || !ParseInt(TextAfter(item, ","), y)) return false;
    out.push_back(x);
    out.push_back(y);
  }
  return true;
}

}  // namespace

bool Keyboard::LoadLayout(const std::string& name) {
  const std::string_view text = BuiltInLayoutText(name);
  if (text.empty()) return false;
  if (!LoadLayoutText(name, text)) return false;
  freeCorner_ = BuiltInFreeCorner(name);
  return true;
}

bool Keyboard::LoadLayoutText(const std::string& name, std::string_view text) {
  // Nothing is drawn while keys come and go.
  const bool wasPainting = picture_.PaintingEnabled();
  picture_.SetPaintingEnabled(false);
  Clear();
  layoutWidth_ = layoutHeight_ = 0;
  freeCorner_ = SliderCorner::BottomRight;

  bool loaded = false;
  try {
    layoutName_ = name;
    const std::vector<std::string_view> lines = SplitLines(text);

    for (const std::string_view line : lines) {
      if (line.empty() || line[0] != ';') break;
      layoutComment_.append(line.substr(1));
      layoutComment_.append("\r\n");
    }

    const Entries entries(lines);
    loaded = [&] {
      std::int32_t height = 0, width = 0;
      if (!ReadSize(entries, "Height", 300, height)) return false;
      height_ = std::max(height, 0);
      if (!ReadSize(entries, "Width", 800, width)) return false;
      width_ = std::max(width, 0);
      layoutInfo_ = entries.Value("Info");
      picture_.WorkImage().SetSize(width_, height_);

      std::vector<std::int32_t> values;
      for (int vk = 1; vk <= 255; ++vk) {
        if (!ReadKeyValues(entries.Value(std::to_string(vk)), values)) return false;
        keys_[static_cast<std::size_t>(vk)] = std::make_unique<Key>(
            *this, static_cast<std::uint8_t>(vk), values, picture_.WorkImage());
      }
      return true;
    }();
  } catch (...) {
    // Odd text must not take the program down: it is a failed load.
    loaded = false;
  }

  if (!loaded) {
    // Painting comes back so that a failed reload cannot freeze the picture;
    // the keys that were created are what the next redraw shows.
    picture_.Redraw(true);  // painting is off: the base is only marked stale
    picture_.SetPaintingEnabled(wasPainting);
    return false;
  }

  layoutWidth_ = width_;
  layoutHeight_ = height_;
  picture_.SetPaintingEnabled(wasPainting);
  captions_.FollowLayout();
  picture_.Redraw(true);
  return true;
}

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
