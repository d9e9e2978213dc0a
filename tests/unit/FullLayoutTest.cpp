#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "KeyboardHarness.h"
#include "keyboard/Keyboard.h"
#include "keyboard/KeyboardStart.h"
#include "placement/SliderRect.h"

namespace luma {
namespace {

using test::KeyboardHarness;

// One outline part as its bounding box, in design units.
struct Box {
  int code;
  Rect r;
};

// Every outline part of every key, separators left out.
std::vector<Box> PartBoxes(const Keyboard& kb) {
  std::vector<Box> boxes;
  for (int vk = 1; vk <= 255; ++vk) {
    const Key* key = kb.KeyFor(vk);
    if (key == nullptr || key->Points().empty()) continue;
    std::vector<Point> part;
    const auto flush = [&] {
      if (part.empty()) return;
      Rect r{part[0].x, part[0].y, part[0].x, part[0].y};
      for (const Point& p : part) {
        r.left = std::min(r.left, p.x), r.right = std::max(r.right, p.x);
        r.top = std::min(r.top, p.y), r.bottom = std::max(r.bottom, p.y);
      }
      boxes.push_back({vk, r});
      part.clear();
    };
    for (const Point& p : key->Points()) {
      if (p == kOutlineSeparator)
        flush();
      else
        part.push_back(p);
    }
    flush();
  }
  return boxes;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

std::vector<Rect> PartsOf(const std::vector<Box>& boxes, int vk) {
  std::vector<Rect> out;
  for (const Box& b : boxes)
    if (b.code == vk) out.push_back(b.r);
  return out;
}

TEST(LayoutFull, EveryKeyInsideTheGridOnceAndNoOutlinesOverlap) {
  const std::string text(kFullLayoutText);
  EXPECT_EQ(text.rfind("Height=181\r\nWidth=671\r\n", 0), 0u);
  std::map<std::string, int> codes;
  for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2) {
    const std::size_t eq = text.find('=', at);
    ++codes[text.substr(at + 2, eq - at - 2)];
  }
  for (const auto& [code, count] : codes) EXPECT_EQ(count, 1) << code;

  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Full"));
  EXPECT_EQ(h.kb.Width(), 671);
  EXPECT_EQ(h.kb.Height(), 181);
  const std::vector<Box> boxes = PartBoxes(h.kb);
  EXPECT_EQ(boxes.size(), codes.size() - 1 + 2);  // Width has no key; two keys have two parts
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const Rect& r = boxes[i].r;
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 670 && r.bottom <= 180) << boxes[i].code;
    EXPECT_TRUE(r.top % 30 == 0 && r.bottom % 30 == 0) << boxes[i].code;  // whole rows
    for (std::size_t j = i + 1; j < boxes.size(); ++j)
      EXPECT_FALSE(Overlap(r, boxes[j].r)) << boxes[i].code << " and " << boxes[j].code;
  }
}

TEST(LayoutFull, StandardsKeysStayWhereStandardHasThem) {
  KeyboardHarness standard, full;
  ASSERT_TRUE(standard.kb.LoadLayout("Standard"));
  ASSERT_TRUE(full.kb.LoadLayout("Full"));
  const std::vector<Box> fullBoxes = PartBoxes(full.kb);
  for (const Box& b : PartBoxes(standard.kb)) {
    const std::vector<Rect> parts = PartsOf(fullBoxes, b.code);
    EXPECT_NE(std::find(parts.begin(), parts.end(), b.r), parts.end()) << b.code;
  }
}

TEST(LayoutFull, NavigationBlockAndPadWhereAPcKeyboardHasThem) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Full"));
  const std::vector<Box> boxes = PartBoxes(h.kb);
  // Block origin, then column, row, columns wide and rows tall in key pitches.
  constexpr int kNav = 450, kPad = 550;
  struct Cell {
    int vk, origin, col, row, cols, rows;
  } cells[] = {
      {44, kNav, 0, 0, 1, 1},  {145, kNav, 1, 0, 1, 1}, {19, kNav, 2, 0, 1, 1},
      {45, kNav, 0, 1, 1, 1},  {36, kNav, 1, 1, 1, 1},  {33, kNav, 2, 1, 1, 1},
      {46, kNav, 0, 2, 1, 1},  {35, kNav, 1, 2, 1, 1},  {34, kNav, 2, 2, 1, 1},
      {38, kNav, 1, 4, 1, 1},  {37, kNav, 0, 5, 1, 1},  {40, kNav, 1, 5, 1, 1},
      {39, kNav, 2, 5, 1, 1},  {144, kPad, 0, 1, 1, 1}, {111, kPad, 1, 1, 1, 1},
      {106, kPad, 2, 1, 1, 1}, {109, kPad, 3, 1, 1, 1}, {103, kPad, 0, 2, 1, 1},
      {104, kPad, 1, 2, 1, 1}, {105, kPad, 2, 2, 1, 1}, {107, kPad, 3, 2, 1, 2},
      {100, kPad, 0, 3, 1, 1}, {101, kPad, 1, 3, 1, 1}, {102, kPad, 2, 3, 1, 1},
      {97, kPad, 0, 4, 1, 1},  {98, kPad, 1, 4, 1, 1},  {99, kPad, 2, 4, 1, 1},
      {13, kPad, 3, 4, 1, 2},  {96, kPad, 0, 5, 2, 1},  {110, kPad, 2, 5, 1, 1},
  };
  for (const Cell& c : cells) {
    const Rect want{c.origin + 30 * c.col, 30 * c.row, c.origin + 30 * (c.col + c.cols),
                    30 * (c.row + c.rows)};
    const std::vector<Rect> parts = PartsOf(boxes, c.vk);
    EXPECT_NE(std::find(parts.begin(), parts.end(), want), parts.end()) << c.vk;
  }
  // The gaps between the blocks and the row above the pad hold no key.
  for (const Box& b : boxes) {
    EXPECT_FALSE(Overlap(b.r, Rect{441, 0, 450, 181})) << b.code;
    EXPECT_FALSE(Overlap(b.r, Rect{541, 0, 550, 181})) << b.code;
    EXPECT_FALSE(Overlap(b.r, Rect{550, 0, 671, 30})) << b.code;
  }
}

TEST(LayoutFull, TheSliderCoversNoKeyInEitherLayoutAtAnyScale) {
  struct Row {
    const char* layout;
    SliderCorner corner;
    int width, height, dpi;
  } rows[] = {
      {"Standard", SliderCorner::BottomRight, 441, 181, 96},
      {"Standard", SliderCorner::BottomRight, 662, 272, 144},
      {"Full", SliderCorner::TopRight, 671, 181, 96},
      {"Full", SliderCorner::TopRight, 1007, 272, 144},
      {"Full", SliderCorner::TopRight, 1342, 362, 192},
      {"Full", SliderCorner::TopRight, 500, 150, 96},
  };
  for (const Row& r : rows) {
    KeyboardHarness h;
    ASSERT_TRUE(h.kb.LoadLayout(r.layout));
    EXPECT_EQ(h.kb.FreeCorner(), r.corner) << r.layout;
    h.kb.ScaleToClient(r.width, r.height);
    const Rect slider = SliderRect(r.width, r.height, h.kb.RightShiftWidth(), h.kb.SpaceBarHeight(),
                                   r.dpi, h.kb.FreeCorner());
    EXPECT_GT(slider.Width(), 0);
    EXPECT_GT(slider.Height(), 0);
    EXPECT_EQ(slider.right, r.width);
    EXPECT_EQ(slider.top == 0, r.corner == SliderCorner::TopRight);
    for (const Box& b : PartBoxes(h.kb))
      EXPECT_FALSE(Overlap(b.r, slider)) << r.layout << " " << r.width << " key " << b.code;
  }
  // Any description of its own keeps the bottom-right corner.
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Full"));
  ASSERT_TRUE(h.kb.LoadLayoutText("Own", "Height=10\r\nWidth=10\r\n65=0,0;5,5"));
  EXPECT_EQ(h.kb.FreeCorner(), SliderCorner::BottomRight);
}

// The full keyboard at its design size, Num Lock on or off, drawn once more
// after the start with its own fonts.
struct StartedFull {
  test::KeyboardParts parts;
  std::unique_ptr<Keyboard> kb;
  explicit StartedFull(bool numLockOn) {
    parts.sender.systemState[144] = numLockOn ? 1 : 0;
    KeyboardStart start(kUsEnglishHkl);
    start.layoutName = "Full";
    kb = StartKeyboard(parts.Deps(), parts.theme, start);
    if (kb == nullptr) return;
    Work().calls.clear();
    kb->Picture().Redraw(false);
  }
  fakes::RecordingBitmap& Work() {
    return static_cast<fakes::RecordingBitmap&>(kb->Picture().WorkImage());
  }
};

// Captions of the keys Num Lock decides: text drawn over each key, and the
// arrows drawn as shapes under every font.
TEST(LayoutFull, PadAndArrowCaptionsFollowNumLock) {
  // How often each text is drawn: the navigation block's own keys, plus the
  // pad's with Num Lock off.
  struct Row {
    bool numLockOn;
    std::size_t arrows;
    std::map<std::u16string, int> counts;
  } rows[] = {
      {false,
       8,
       {{u"Home", 2},
        {u"PgUp", 2},
        {u"Clear", 1},
        {u"Ins", 2},
        {u"Del", 3},
        {u"Enter", 2},
        {u"Left", 0},
        {u"Up", 0},
        {u"\u2190", 0}}},
      {true,
       4,
       {{u"Home", 1}, {u"PgUp", 1}, {u"Clear", 0}, {u"Ins", 1}, {u"Del", 2}, {u"Enter", 2}}},
  };
  for (const Row& r : rows) {
    StartedFull full(r.numLockOn);
    ASSERT_NE(full.kb, nullptr);
    std::map<std::u16string, int> drawn;
    for (const auto& call : full.Work().Of(fakes::DrawCall::kText)) ++drawn[call.text];
    // Both parts of Enter and of Delete carry the label.
    for (const auto& [text, count] : r.counts)
      EXPECT_EQ(drawn[text], count) << "Num Lock " << r.numLockOn << " " << text.size();
    // An arrow is the one polygon of seven corners, in the caption's color.
    const auto polygons = full.Work().Of(fakes::DrawCall::kPolygon);
    const auto arrows = std::count_if(polygons.begin(), polygons.end(), [&](const auto& c) {
      return c.points.size() == 7 && c.brush == full.parts.theme.RestCaption;
    });
    EXPECT_EQ(static_cast<std::size_t>(arrows), r.arrows) << "Num Lock " << r.numLockOn;
  }
}

// Every name shown fits its key at the full keyboard's design size: centred,
// in the caption font or at most a third smaller.
TEST(LayoutFull, EveryCaptionFitsItsKey) {
  // The names that used to be cut there, at their places.
  const std::map<int, std::u16string> names = {
      {44, u"PrtSc"},  {145, u"ScrLk"}, {19, u"Pause"},  {33, u"PgUp"}, {34, u"PgDn"},
      {144, u"NumLk"}, {13, u"Enter"},  {101, u"Clear"}, {99, u"PgDn"},
  };
  StartedFull full(false);
  ASSERT_NE(full.kb, nullptr);
  fakes::RecordingBitmap& work = full.Work();
  const int captionSize = full.parts.theme.KeyFontSmall.Size;
  const std::vector<Box> boxes = PartBoxes(*full.kb);
  std::map<int, int> shown;
  for (const auto& call : work.Of(fakes::DrawCall::kText)) {
    const auto box = std::find_if(boxes.begin(), boxes.end(), [&](const Box& b) {
      return b.r.left <= call.rect.left && call.rect.right <= b.r.right &&
             b.r.top <= call.rect.top && call.rect.bottom <= b.r.bottom;
    });
    ASSERT_NE(box, boxes.end()) << "a label outside every key";
    work.SetFont(call.font);
    const std::int32_t width = work.TextExtent(call.text).cx;
    EXPECT_LE(width, call.rect.Width()) << box->code << " is cut";
    EXPECT_TRUE(call.format & kDtCenter) << box->code;
    const auto name = names.find(box->code);
    if (name == names.end()) continue;
    ++shown[box->code];
    EXPECT_EQ(call.text, name->second) << box->code;
    EXPECT_GE(call.font.size * 3, captionSize * 2) << box->code;
    EXPECT_LE(call.font.size, captionSize) << box->code;
  }
  for (const auto& [code, name] : names) EXPECT_GE(shown[code], 1) << code << " shows nothing";
}

}  // namespace
}  // namespace luma
