// The row of words above the keys: which cell a point holds, what each change
// copies to the screen, choosing, the message, and the keys' colors.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "Fakes.h"
#include "theme/Dimming.h"
#include "wordrow/WordRow.h"

namespace luma {
namespace {

using fakes::DrawCall;

// 441 pixels in five cells, each edge rounded up.
constexpr Rect kWordRowBounds{0, 0, 441, 30};
constexpr Rect kWordCells[] = {
    {0, 0, 89, 30}, {89, 0, 177, 30}, {177, 0, 265, 30}, {265, 0, 353, 30}, {353, 0, 441, 30}};

class WordRowTest : public ::testing::Test {
 protected:
  WordRowTest() {
    ApplyColorScheme(1, theme, ThemeColors{}, colors);
    screen.width = 441;
    screen.height = 211;
    row.SetBounds(kWordRowBounds);
    row.SetWords({u"the", u"to", u"", u"that"});
    image().calls.clear();
    screen.copies.clear();
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

TEST_F(WordRowTest, OnlyCellsWithAWordAreItems) {
  const struct {
    const char* what;
    std::function<void(WordRow&)> before;
    Point at;
    int item;
  } cases[] = {
      {"first cell's corner", {}, {0, 0}, 0},
      {"first cell's last pixel", {}, {88, 29}, 0},
      {"second cell's first", {}, {89, 0}, 1},
      {"an empty cell", {}, {200, 10}, -1},
      {"fourth cell", {}, {352, 10}, 3},
      {"past the last word", {}, {440, 29}, -1},
      {"right of the row", {}, {441, 5}, -1},
      {"below the row", {}, {10, 30}, -1},
      {"left of the row", {}, {-1, 5}, -1},
      {"a message in place", [](WordRow& r) { r.ShowMessage(u"Paused"); }, {10, 10}, -1},
      {"hidden", [](WordRow& r) { r.SetShown(false); }, {10, 10}, -1},
      {"no room",
       [](WordRow& r) {
         r.SetBounds({0, 0, 441, 0});
       },
       {10, 0},
       -1},
  };
  for (const auto& c : cases) {
    row.SetShown(true);
    row.SetBounds(kWordRowBounds);
    row.SetWords({u"the", u"to", u"", u"that"});
    if (c.before) c.before(row);
    EXPECT_EQ(row.ItemAt(c.at), c.item) << c.what;
    row.Choose(row.ItemAt(c.at));
  }
  EXPECT_EQ(chosen, (std::vector<std::u16string>{u"the", u"the", u"to", u"that"}));
  row.SetShown(false);
  EXPECT_EQ(row.Bounds(), Rect{}) << "hidden, the row holds nothing";
  row.Choose(0);
  EXPECT_EQ(chosen.size(), 4u) << "nor is it chosen";
}

TEST_F(WordRowTest, AChangeCopiesOnlyWhatItChanged) {
  const std::vector<Rect> none, all{kWordRowBounds};
  const Rect second = kWordCells[1], fourth = kWordCells[3];
  const struct {
    const char* what;
    std::function<void(WordRow&)> before, change;
    std::vector<Rect> copies;
  } cases[] = {
      {"new words", {}, [](WordRow& r) { r.SetWords({u"this"}); }, all},
      {"the same words",
       {},
       [](WordRow& r) {
         r.SetWords({u"the", u"to", u"", u"that", u""});
       },
       none},
      {"a message", {}, [](WordRow& r) { r.ShowMessage(u"No word list"); }, all},
      {"hot", {}, [](WordRow& r) { r.SetHot(1); }, {second}},
      {"hot moves",
       [](WordRow& r) { r.SetHot(1); },
       [](WordRow& r) { r.SetHot(3); },
       {second, fourth}},
      {"hot leaves", [](WordRow& r) { r.SetHot(1); }, [](WordRow& r) { r.SetHot(-1); }, {second}},
      {"hot again", [](WordRow& r) { r.SetHot(1); }, [](WordRow& r) { r.SetHot(1); }, none},
      {"hot on an empty cell", {}, [](WordRow& r) { r.SetHot(2); }, none},
      {"progress", {}, [](WordRow& r) { r.ShowProgress(3, 100); }, {fourth}},
      {"progress grows",
       [](WordRow& r) { r.ShowProgress(3, 100); },
       [](WordRow& r) { r.ShowProgress(3, 200); },
       {fourth}},
      {"progress ends",
       [](WordRow& r) { r.ShowProgress(3, 100); },
       [](WordRow& r) { r.ShowProgress(3, 0); },
       {fourth}},
      {"progress moves",
       [](WordRow& r) { r.ShowProgress(3, 100); },
       [](WordRow& r) { r.ShowProgress(1, 100); },
       {fourth, second}},
      {"progress beyond the cells", {}, [](WordRow& r) { r.ShowProgress(5, 100); }, none},
      {"hidden", [](WordRow& r) { r.SetShown(false); },
       [](WordRow& r) {
         r.SetWords({u"a"});
         r.SetHot(0);
         r.Redraw();
       },
       none},
      {"shown again", [](WordRow& r) { r.SetShown(false); }, [](WordRow& r) { r.SetShown(true); },
       all},
  };
  for (const auto& c : cases) {
    row.SetShown(true);
    row.SetHot(-1);
    row.ShowProgress(3, 0);
    row.ShowProgress(1, 0);
    row.SetWords({u"the", u"to", u"", u"that"});
    if (c.before) c.before(row);
    screen.copies.clear();
    c.change(row);
    EXPECT_EQ(screen.copies, c.copies) << c.what;
  }
  screen.width = 300;
  screen.copies.clear();
  row.SetWords({u"a"});
  EXPECT_EQ(screen.copies, (std::vector<Rect>{{0, 0, 300, 30}})) << "held to a narrower screen";
}

TEST_F(WordRowTest, TheMessageIsMutedAndTakesThePlaceOfTheWords) {
  row.SetHot(0);
  image().calls.clear();
  row.ShowMessage(u"No word list for this language");
  const auto texts = image().Of(DrawCall::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, u"No word list for this language");
  EXPECT_EQ(texts[0].font.color, HalfwayColor(theme.RestChar, theme.BackColor, colors));
  EXPECT_TRUE(texts[0].font.italic);
  EXPECT_EQ(texts[0].rect.left, kWordCells[0].left + 4) << "in the first cell's place";
  EXPECT_EQ(image().Count(DrawCall::kRoundRect), 0u) << "no cell shows";
  EXPECT_EQ(row.Word(0), u"") << "the words went with it";

  row.SetWords({u"back"});
  EXPECT_EQ(row.Message(), u"");
  EXPECT_EQ(image().Of(DrawCall::kText).back().text, u"back");
}

TEST_F(WordRowTest, CellsTakeTheKeysColorsAsTheKeysHaveThem) {
  const auto dim = [](Theme& t, SystemColors& s) {
    static_cast<SchemeColors&>(t) = DimmedColors(t, s);
  };
  const struct {
    const char* what;
    int scheme;
    std::function<void(Theme&, SystemColors&)> adjust;
  } cases[] = {
      {"scheme 1", 1, {}},
      {"scheme 4", 4, {}},
      {"scheme 7", 7, {}},
      {"scheme 1 dimmed", 1, dim},
      {"scheme 6 dimmed", 6, dim},
      {"a pure-green rest face", 2, [](Theme& t, SystemColors&) { t.RestFace = kPureGreen; }},
  };
  for (const auto& c : cases) {
    ApplyColorScheme(c.scheme, theme, ThemeColors{}, colors);
    if (c.adjust) c.adjust(theme, colors);
    row.SetHot(3);
    row.ShowProgress(3, 500);
    image().calls.clear();
    row.Redraw();
    const auto cells = image().Of(DrawCall::kRoundRect);
    const auto texts = image().Of(DrawCall::kText);
    ASSERT_EQ(cells.size(), 3u) << c.what;
    ASSERT_EQ(texts.size(), 3u) << c.what;
    const Color restFace = theme.RestFace == kPureGreen ? theme.BackColor : theme.RestFace;
    EXPECT_EQ(cells[0].brush, restFace) << c.what;
    EXPECT_EQ(cells[0].pen, theme.RestBorder) << c.what;
    EXPECT_EQ(texts[0].font.color, theme.RestChar) << c.what;
    EXPECT_EQ(cells[2].brush, theme.HotFace) << c.what;
    EXPECT_EQ(cells[2].pen, theme.HotBorder) << c.what;
    EXPECT_EQ(texts[2].font.color, theme.HotChar) << c.what;
    // The bar: the one fill inside the hot cell lower than the cell.
    std::vector<DrawCall> bars;
    for (const DrawCall& fill : image().Of(DrawCall::kFillRect))
      if (fill.rect.left > kWordCells[3].left && fill.rect.right < kWordCells[3].right &&
          fill.rect.top > 0 && fill.rect.bottom < kWordCells[3].bottom)
        bars.push_back(fill);
    ASSERT_EQ(bars.size(), 1u) << c.what;
    EXPECT_EQ(bars[0].brush, theme.HotCaption) << c.what;
  }
}

TEST_F(WordRowTest, WordsStayInTheirCellsInAFontThatFollowsTheRow) {
  const struct {
    std::int32_t height, dpi;
    int points;
  } cases[] = {{30, 96, 10}, {45, 144, 10}, {60, 96, 20}, {2, 96, 0}};
  row.SetWords({u"a", u"internationalisation"});
  for (const auto& c : cases) {
    image().calls.clear();
    row.SetBounds({0, 0, 441, c.height}, c.dpi);
    const auto texts = image().Of(DrawCall::kText);
    if (c.points == 0) {
      EXPECT_TRUE(texts.empty()) << "a row too low for text draws none";
      continue;
    }
    ASSERT_EQ(texts.size(), 2u) << c.height;
    EXPECT_EQ(texts[0].font.size, c.points) << c.height << " at " << c.dpi;
    EXPECT_EQ(texts[0].format & kDtCenter, kDtCenter) << "a short word centred";
    EXPECT_LT(texts[1].font.size, c.points) << "a long word smaller";
    EXPECT_EQ(texts[1].format & kDtCenter, 0u) << "and its beginning in sight";
    for (int cell = 0; cell < 2; ++cell) {
      const Rect in = texts[static_cast<std::size_t>(cell)].rect, around = kWordCells[cell];
      EXPECT_TRUE(in.left >= around.left && in.right <= around.right && in.bottom <= c.height)
          << cell;
    }
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
  // their height, at every height: no pixel drifts on each switch.
  for (const std::int32_t design : {181, 250, 7})
    for (std::int32_t keys = 1; keys <= 3000; ++keys) {
      const std::int32_t client = ClientHeightWithRow(keys, design);
      ASSERT_EQ(client - RowHeightFor(client, design), keys) << keys << " at " << design;
    }
}

}  // namespace
}  // namespace luma
