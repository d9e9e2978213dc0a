// The row of words above the keys: which cell a point holds, what each change
// copies to the screen, the message, and the keys' colors and fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "Fakes.h"
#include "theme/Dimming.h"
#include "wordrow/WordRow.h"

namespace luma {
namespace {

using fakes::DrawCall;

// 441 pixels in five cells, each edge rounded up.
constexpr Rect kWordRow{0, 0, 441, 30};
constexpr Rect kWordCells[] = {
    {0, 0, 89, 30}, {89, 0, 177, 30}, {177, 0, 265, 30}, {265, 0, 353, 30}, {353, 0, 441, 30}};

class WordRowTest : public ::testing::Test {
 protected:
  WordRowTest() {
    ApplyColorScheme(1, theme, ThemeColors{}, colors);
    screen.height = 211;
    row.SetBounds(kWordRow);
    Run("words the,to,,that");
  }
  // What the owner and the input do, step by step: "hot 1; mark 3 100;
  // words a,b; message text; hide; show; redraw".
  void Run(const std::string& steps) {
    std::istringstream in(steps);
    for (std::string step; std::getline(in >> std::ws, step, ';');) {
      std::istringstream words(step);
      std::string verb;
      int a = 0, b = 0;
      words >> verb >> a >> b;
      const std::string rest = step.substr(std::min(step.size(), verb.size() + 1));
      if (verb == "hot") row.SetHot(a);
      if (verb == "mark") row.ShowProgress(a, b);
      if (verb == "message") row.ShowMessage({rest.begin(), rest.end()});
      if (verb == "hide" || verb == "show") row.SetShown(verb == "show");
      if (verb == "redraw") row.Redraw();
      if (verb != "words") continue;
      std::vector<std::u16string> list;
      std::istringstream items(rest);
      for (std::string item; std::getline(items, item, ',');)
        list.emplace_back(item.begin(), item.end());
      row.SetWords(list);
    }
  }
  fakes::RecordingBitmap& image() { return *bitmaps.created.at(0); }

  fakes::RecordingBitmapFactory bitmaps;
  fakes::FakeScreen screen;
  fakes::FakeSystemColors colors;
  Theme theme;
  std::vector<std::u16string> chosen;
  WordRow row{{bitmaps, screen, theme, colors},
              [this](int cell) { chosen.push_back(row.Word(cell)); }};
};

TEST_F(WordRowTest, OnlyCellsWithAWordAreItemsAndChosen) {
  const struct {
    const char* before;
    Point at;
    int item;
  } cases[] = {
      {"", {0, 0}, 0},        {"", {88, 29}, 0},
      {"", {89, 0}, 1},       {"", {200, 10}, -1},
      {"", {352, 10}, 3},     {"", {440, 29}, -1},
      {"", {441, 5}, -1},     {"", {10, 30}, -1},
      {"", {-1, 5}, -1},      {"message Paused", {10, 10}, -1},
      {"hide", {10, 10}, -1},
  };
  for (const auto& c : cases) {
    Run(std::string("show; words the,to,,that; ") + c.before);
    EXPECT_EQ(row.ItemAt(c.at), c.item) << c.before << " " << c.at.x << "," << c.at.y;
    row.Choose(row.ItemAt(c.at));
  }
  EXPECT_EQ(row.Bounds(), Rect{}) << "hidden, the row holds nothing";
  row.Choose(0);
  Run("show; message Paused");
  row.Choose(0);
  EXPECT_EQ(chosen, (std::vector<std::u16string>{u"the", u"the", u"to", u"that"}));

  // The places a switch steps through: the cells holding a word.
  const Rect none;
  const struct {
    const char* steps;
    std::vector<Rect> places;
  } places[] = {
      {"message; words the,to,,that", {kWordCells[0], kWordCells[1], none, kWordCells[3], none}},
      {"message Paused", {none, none, none, none, none}},
      {"message; words the,to,,that; hide", {none, none, none, none, none}},
  };
  for (const auto& p : places) {
    Run(std::string("show; ") + p.steps);
    std::vector<Rect> seen;
    for (int i = 0; i < row.ItemCount(); ++i) seen.push_back(row.ItemBounds(i));
    EXPECT_EQ(seen, p.places) << p.steps;
  }
}

TEST_F(WordRowTest, AChangeCopiesOnlyWhatItChanged) {
  const Rect whole = kWordRow, second = kWordCells[1], fourth = kWordCells[3];
  const struct {
    const char *before, *change;
    std::vector<Rect> copies;
  } cases[] = {
      {"", "words this", {whole}},
      {"", "words the,to,,that,", {}},
      {"", "message No word list", {whole}},
      {"", "hot 1", {second}},
      {"hot 1", "hot 3", {second, fourth}},
      {"hot 1", "hot -1", {second}},
      {"hot 1", "hot 1", {}},
      {"", "hot 2", {}},
      {"", "mark 3 100", {fourth}},
      {"mark 3 100", "mark 3 200", {fourth}},
      {"mark 3 100", "mark 3 0", {fourth}},
      {"mark 3 100", "mark 1 100", {fourth, second}},
      {"", "mark 5 100", {}},
      {"hide", "words a; hot 0; mark 0 10; redraw", {}},
      {"hide", "show", {whole}},
  };
  for (const auto& c : cases) {
    Run(std::string("show; hot -1; mark 3 0; mark 1 0; words the,to,,that; ") + c.before);
    screen.copies.clear();
    Run(c.change);
    EXPECT_EQ(screen.copies, c.copies) << c.before << " then " << c.change;
  }
  screen.width = 300;
  screen.copies.clear();
  Run("words a");
  EXPECT_EQ(screen.copies, (std::vector<Rect>{{0, 0, 300, 30}})) << "held to a narrower screen";
}

TEST_F(WordRowTest, TheMessageIsMutedAndTakesThePlaceOfTheWords) {
  Run("hot 0");
  image().calls.clear();
  Run("message No word list for this language");
  const auto texts = image().Of(DrawCall::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, u"No word list for this language");
  EXPECT_EQ(texts[0].font.color, HalfwayColor(theme.RestChar, theme.BackColor, colors));
  EXPECT_TRUE(texts[0].font.italic);
  EXPECT_EQ(image().Count(DrawCall::kRoundRect), 0u) << "no cell shows";
  Run("words back");
  EXPECT_EQ(row.Message(), u"");
  EXPECT_EQ(image().Of(DrawCall::kText).back().text, u"back");
}

TEST_F(WordRowTest, CellsTakeTheKeysColorsAsTheKeysHaveThem) {
  const struct {
    int scheme;
    bool dimmed, greenRest;
  } cases[] = {{1, false, false}, {4, false, false}, {7, false, false},
               {1, true, false},  {6, true, false},  {2, false, true}};
  for (const auto& c : cases) {
    ApplyColorScheme(c.scheme, theme, ThemeColors{}, colors);
    if (c.dimmed) static_cast<SchemeColors&>(theme) = DimmedColors(theme, colors);
    if (c.greenRest) theme.RestFace = kBackgroundFace;
    Run("hot 3; mark 3 500");
    image().calls.clear();
    Run("redraw");
    const auto cells = image().Of(DrawCall::kRoundRect);
    const auto texts = image().Of(DrawCall::kText);
    ASSERT_EQ(cells.size(), 3u) << c.scheme;
    ASSERT_EQ(texts.size(), 3u) << c.scheme;
    // Pure green at rest marks a face drawn as the background.
    EXPECT_EQ(cells[0].brush, c.greenRest ? theme.BackColor : theme.RestFace) << c.scheme;
    EXPECT_EQ(cells[0].pen, theme.RestBorder) << c.scheme;
    EXPECT_EQ(texts[0].font.color, theme.RestChar) << c.scheme;
    EXPECT_EQ(cells[2].brush, theme.HotFace) << c.scheme;
    EXPECT_EQ(cells[2].pen, theme.HotBorder) << c.scheme;
    EXPECT_EQ(texts[2].font.color, theme.HotChar) << c.scheme;
    // The hover bar: the one fill inside the hot cell lower than the cell.
    std::vector<DrawCall> bars;
    for (const DrawCall& fill : image().Of(DrawCall::kFillRect))
      if (fill.rect.left > kWordCells[3].left && fill.rect.right < kWordCells[3].right &&
          fill.rect.top > 0 && fill.rect.bottom < kWordCells[3].bottom)
        bars.push_back(fill);
    ASSERT_EQ(bars.size(), 1u) << c.scheme;
    EXPECT_EQ(bars[0].brush, theme.HotCaption) << c.scheme;
  }
}

TEST_F(WordRowTest, WordsStayInTheirCellsInAFontThatFollowsTheRow) {
  const struct {
    std::int32_t height, dpi;
    int points;
  } cases[] = {{30, 96, 10}, {45, 144, 10}, {60, 96, 20}, {2, 96, 0}};
  Run("words a,internationalisation");
  for (const auto& c : cases) {
    image().calls.clear();
    row.SetBounds({0, 0, 441, c.height}, c.dpi);
    const auto texts = image().Of(DrawCall::kText);
    ASSERT_EQ(texts.size(), c.points > 0 ? 2u : 0u) << c.height;
    if (c.points == 0) continue;
    EXPECT_EQ(texts[0].font.size, c.points) << c.height << " at " << c.dpi;
    EXPECT_EQ(texts[0].format & kDtCenter, kDtCenter) << "a short word centred";
    EXPECT_LT(texts[1].font.size, c.points) << "a long word smaller";
    EXPECT_EQ(texts[1].format & kDtCenter, 0u) << "and its beginning in sight";
    for (std::size_t cell = 0; cell < 2; ++cell)
      EXPECT_TRUE(texts[cell].rect.left >= kWordCells[cell].left &&
                  texts[cell].rect.right <= kWordCells[cell].right &&
                  texts[cell].rect.bottom <= c.height)
          << cell;
  }
}

TEST(WordRowHeight, ARowOfKeysShareThatScalesWithTheWindow) {
  const struct {
    std::int32_t client, keysDesign, row;
  } cases[] = {
      {211, 181, 30},  // the standard keyboard at 100 %
      {317, 181, 45},  // at 150 %
      {105, 181, 15},
      {0, 181, 0},
      {-5, 181, 0},
      {211, 0, 0},
      {std::numeric_limits<std::int32_t>::max(), 1, 2078209981},
  };
  for (const auto& c : cases)
    EXPECT_EQ(RowHeightFor(c.client, c.keysDesign), c.row) << c.client << " / " << c.keysDesign;
  // Growing the window for the row and sharing it out again leaves the keys
  // their height at every height: no pixel drifts at each switch.
  for (const std::int32_t design : {181, 250, 7})
    for (std::int32_t keys = 1; keys <= 3000; ++keys) {
      const std::int32_t client = ClientHeightWithRow(keys, design);
      ASSERT_EQ(client - RowHeightFor(client, design), keys) << keys << " at " << design;
    }
}

}  // namespace
}  // namespace luma
