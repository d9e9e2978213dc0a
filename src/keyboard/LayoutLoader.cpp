#include <algorithm>
#include <cctype>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "keyboard/Keyboard.h"
#include "lib/TextSplit.h"

namespace luma {

// Design size 441 x 181; each key a rectangle written bottom-left,
// bottom-right, top-right, top-left. Row by row: function keys, digits,
// QWERTY, home row, Shift row, bottom row (which ends at x = 380, leaving the
// corner for the transparency slider).
const std::string_view kStandardLayoutText =
    "Height=181\r\n"
    "Width=441\r\n"
    "27=0,30;30,30;30,0;0,0\r\n"
    "112=30,30;60,30;60,0;30,0\r\n"
    "113=60,30;90,30;90,0;60,0\r\n"
    "114=90,30;120,30;120,0;90,0\r\n"
    "115=120,30;150,30;150,0;120,0\r\n"
    "116=150,30;180,30;180,0;150,0\r\n"
    "117=180,30;210,30;210,0;180,0\r\n"
    "118=210,30;240,30;240,0;210,0\r\n"
    "119=240,30;270,30;270,0;240,0\r\n"
    "120=270,30;300,30;300,0;270,0\r\n"
    "121=300,30;330,30;330,0;300,0\r\n"
    "122=330,30;360,30;360,0;330,0\r\n"
    "123=360,30;390,30;390,0;360,0\r\n"
    "46=390,30;440,30;440,0;390,0\r\n"
    "192=0,60;30,60;30,30;0,30\r\n"
    "49=30,60;60,60;60,30;30,30\r\n"
    "50=60,60;90,60;90,30;60,30\r\n"
    "51=90,60;120,60;120,30;90,30\r\n"
    "52=120,60;150,60;150,30;120,30\r\n"
    "53=150,60;180,60;180,30;150,30\r\n"
    "54=180,60;210,60;210,30;180,30\r\n"
    "55=210,60;240,60;240,30;210,30\r\n"
    "56=240,60;270,60;270,30;240,30\r\n"
    "57=270,60;300,60;300,30;270,30\r\n"
    "48=300,60;330,60;330,30;300,30\r\n"
    "189=330,60;360,60;360,30;330,30\r\n"
    "187=360,60;390,60;390,30;360,30\r\n"
    "8=390,60;440,60;440,30;390,30\r\n"
    "9=0,90;50,90;50,60;0,60\r\n"
    "81=50,90;80,90;80,60;50,60\r\n"
    "87=80,90;110,90;110,60;80,60\r\n"
    "69=110,90;140,90;140,60;110,60\r\n"
    "82=140,90;170,90;170,60;140,60\r\n"
    "84=170,90;200,90;200,60;170,60\r\n"
    "89=200,90;230,90;230,60;200,60\r\n"
    "85=230,90;260,90;260,60;230,60\r\n"
    "73=260,90;290,90;290,60;260,60\r\n"
    "79=290,90;320,90;320,60;290,60\r\n"
    "80=320,90;350,90;350,60;320,60\r\n"
    "219=350,90;380,90;380,60;350,60\r\n"
    "221=380,90;410,90;410,60;380,60\r\n"
    "220=410,90;440,90;440,60;410,60\r\n"
    "20=0,120;60,120;60,90;0,90\r\n"
    "65=60,120;90,120;90,90;60,90\r\n"
    "83=90,120;120,120;120,90;90,90\r\n"
    "68=120,120;150,120;150,90;120,90\r\n"
    "70=150,120;180,120;180,90;150,90\r\n"
    "71=180,120;210,120;210,90;180,90\r\n"
    "72=210,120;240,120;240,90;210,90\r\n"
    "74=240,120;270,120;270,90;240,90\r\n"
    "75=270,120;300,120;300,90;270,90\r\n"
    "76=300,120;330,120;330,90;300,90\r\n"
    "186=330,120;360,120;360,90;330,90\r\n"
    "222=360,120;390,120;390,90;360,90\r\n"
    "13=390,120;440,120;440,90;390,90\r\n"
    "160=0,150;50,150;50,120;0,120\r\n"
    "226=50,150;80,150;80,120;50,120\r\n"
    "90=80,150;110,150;110,120;80,120\r\n"
    "88=110,150;140,150;140,120;110,120\r\n"
    "67=140,150;170,150;170,120;140,120\r\n"
    "86=170,150;200,150;200,120;170,120\r\n"
    "66=200,150;230,150;230,120;200,120\r\n"
    "78=230,150;260,150;260,120;230,120\r\n"
    "77=260,150;290,150;290,120;260,120\r\n"
    "188=290,150;320,150;320,120;290,120\r\n"
    "190=320,150;350,150;350,120;320,120\r\n"
    "191=350,150;380,150;380,120;350,120\r\n"
    "161=380,150;440,150;440,120;380,120\r\n"
    "162=0,180;40,180;40,150;0,150\r\n"
    "91=40,180;70,180;70,150;40,150\r\n"
    "164=70,180;100,180;100,150;70,150\r\n"
    "32=100,180;275,180;275,150;100,150\r\n"
    "165=275,180;315,180;315,150;275,150\r\n"
    "93=315,180;350,180;350,150;315,150\r\n"
    "163=350,180;380,180;380,150;350,150";

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
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
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
  return LoadLayoutText(name, kStandardLayoutText);
}

bool Keyboard::LoadLayoutText(const std::string& name, std::string_view text) {
  // Nothing is drawn while keys come and go.
  const bool wasPainting = paintingEnabled_;
  paintingEnabled_ = false;
  deps_.busyCursor.Begin();
  Clear();
  layoutWidth_ = layoutHeight_ = 0;

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
      workImage_->SetSize(width_, height_);

      std::vector<std::int32_t> values;
      for (int vk = 1; vk <= 255; ++vk) {
        if (!ReadKeyValues(entries.Value(std::to_string(vk)), values)) return false;
        keys_[static_cast<std::size_t>(vk)] =
            std::make_unique<Key>(*this, static_cast<std::uint8_t>(vk), values, *workImage_);
      }
      return true;
    }();
  } catch (...) {
    // Odd text must not take the program down: it is a failed load.
    loaded = false;
  }

  if (!loaded) {
    deps_.busyCursor.EndAll();
    // Painting comes back so that a failed reload cannot freeze the picture;
    // the keys that were created are what the next redraw shows.
    baseStale_ = true;
    SetPaintingEnabled(wasPainting);
    return false;
  }

  layoutWidth_ = width_;
  layoutHeight_ = height_;
  SetPaintingEnabled(wasPainting);
  RemapPositions();
  SelectCaptionTable();
  Redraw(true);
  deps_.busyCursor.EndAll();
  return true;
}

}  // namespace luma
