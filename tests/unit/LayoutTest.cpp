#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "KeyboardHarness.h"
#include "keyboard/Keyboard.h"
#include "keyboard/LayoutLoader.h"

namespace luma {
namespace {

using test::Corners;
using test::KeyboardHarness;
using test::KeyLine;

// --- The built-in description ------------------------------------------------

struct RowKey {
  int vk, x1, x2;
};
struct KeyRow {
  int y1, y2;
  std::vector<RowKey> keys;
};

// The key rows of "Standard": virtual-key code and x1..x2 per key.
// clang-format off
const std::vector<KeyRow> kStandardRows = {
    {0, 30, {{27, 0, 30}, {112, 30, 60}, {113, 60, 90}, {114, 90, 120}, {115, 120, 150},
             {116, 150, 180}, {117, 180, 210}, {118, 210, 240}, {119, 240, 270}, {120, 270, 300},
             {121, 300, 330}, {122, 330, 360}, {123, 360, 390}, {46, 390, 440}}},
    {30, 60, {{192, 0, 30}, {49, 30, 60}, {50, 60, 90}, {51, 90, 120}, {52, 120, 150},
              {53, 150, 180}, {54, 180, 210}, {55, 210, 240}, {56, 240, 270}, {57, 270, 300},
              {48, 300, 330}, {189, 330, 360}, {187, 360, 390}, {8, 390, 440}}},
    {60, 90, {{9, 0, 50}, {81, 50, 80}, {87, 80, 110}, {69, 110, 140}, {82, 140, 170},
              {84, 170, 200}, {89, 200, 230}, {85, 230, 260}, {73, 260, 290}, {79, 290, 320},
              {80, 320, 350}, {219, 350, 380}, {221, 380, 410}, {220, 410, 440}}},
    {90, 120, {{20, 0, 60}, {65, 60, 90}, {83, 90, 120}, {68, 120, 150}, {70, 150, 180},
               {71, 180, 210}, {72, 210, 240}, {74, 240, 270}, {75, 270, 300}, {76, 300, 330},
               {186, 330, 360}, {222, 360, 390}, {13, 390, 440}}},
    {120, 150, {{160, 0, 50}, {226, 50, 80}, {90, 80, 110}, {88, 110, 140}, {67, 140, 170},
                {86, 170, 200}, {66, 200, 230}, {78, 230, 260}, {77, 260, 290}, {188, 290, 320},
                {190, 320, 350}, {191, 350, 380}, {161, 380, 440}}},
    {150, 180, {{162, 0, 40}, {91, 40, 70}, {164, 70, 100}, {32, 100, 275}, {165, 275, 315},
                {93, 315, 350}, {163, 350, 380}}},
};
// clang-format on

TEST(LayoutStandard, TextShape) {
  const std::string text(kStandardLayoutText);
  EXPECT_EQ(text.rfind("Height=181\r\nWidth=441\r\n", 0), 0u);
  EXPECT_NE(text.back(), '\n');
  EXPECT_NE(text.back(), '\r');
  std::size_t breaks = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++breaks;
      EXPECT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
    }
    if (text[i] == '\r') {
      EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n');
    }
  }
  EXPECT_EQ(breaks, 76u);  // 77 lines: two sizes and 75 keys
  EXPECT_NE(text.find("\r\n27=0,30;30,30;30,0;0,0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n32=100,180;275,180;275,150;100,150"), std::string::npos);
  EXPECT_EQ(text.find("pic"), std::string::npos);
  EXPECT_EQ(text.find("-1"), std::string::npos);
  EXPECT_NE(text.front(), ';');  // no comment lines
  EXPECT_EQ(text.find("\n;"), std::string::npos);
  EXPECT_EQ(text.find("Info"), std::string::npos);
}

TEST(LayoutStandard, EveryCodeHasAKeyAndExactlyTheTableRowsHaveOutlines) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  EXPECT_EQ(h.kb.LayoutName(), "Standard");
  EXPECT_EQ(h.kb.Width(), 441);
  EXPECT_EQ(h.kb.Height(), 181);
  EXPECT_EQ(h.Work().Width(), 441);
  EXPECT_EQ(h.Work().Height(), 181);
  EXPECT_EQ(h.kb.LayoutComment(), "");
  EXPECT_EQ(h.kb.LayoutInfo(), "");

  std::set<int> outlined;
  for (const KeyRow& row : kStandardRows)
    for (const RowKey& k : row.keys) {
      ASSERT_TRUE(outlined.insert(k.vk).second) << k.vk;
      const Key* key = h.kb.KeyFor(k.vk);
      ASSERT_NE(key, nullptr) << k.vk;
      EXPECT_EQ(key->Points(), Corners(k.x1, row.y1, k.x2, row.y2)) << k.vk;
    }
  EXPECT_EQ(outlined.size(), 75u);

  for (int vk = 1; vk <= 255; ++vk) {
    const Key* key = h.kb.KeyFor(vk);
    ASSERT_NE(key, nullptr) << vk;
    EXPECT_EQ(key->Code(), vk);
    EXPECT_EQ(key->OutlineOwner(), key);
    if (!outlined.count(vk)) {
      EXPECT_TRUE(key->Points().empty()) << vk;
    }
  }
}

TEST(LayoutStandard, ExtentsAndEscapeNeighboursAtDesignSize) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  EXPECT_EQ(h.kb.RightShiftWidth(), 60);
  EXPECT_EQ(h.kb.SpaceBarHeight(), 30);
  EXPECT_EQ(h.kb.EscapeKeySize(), (Size{30, 30}));

  // Which key the hover tracking finds, lowest code first.
  const std::vector<std::tuple<int, int, const Key*>> rows = {
      {0, 1, h.kb.KeyFor(27)},    {29, 30, h.kb.KeyFor(27)},
      {30, 15, h.kb.KeyFor(112)}, {0, 0, nullptr},
      {15, 0, nullptr},           {410, 165, nullptr},  // slider corner
      {380, 165, nullptr},        {379, 165, h.kb.KeyFor(163)},
  };
  for (auto [x, y, expected] : rows) {
    h.kb.TrackPointer(x, y);
    EXPECT_EQ(h.kb.HoverKey(), expected) << x << "," << y;
  }
}

TEST(LayoutStandard, ScalingToAClientSizeRescalesEveryKeyFromTheLayoutSize) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.kb.ScaleToClient(790, 271);
  EXPECT_EQ(h.kb.Width(), 790);
  EXPECT_EQ(h.kb.Height(), 271);
  EXPECT_EQ(h.Work().Width(), 790);
  EXPECT_EQ(h.kb.KeyFor(27)->Points(), (std::vector<Point>{{0, 45}, {54, 45}, {54, 0}, {0, 0}}));
  // Neighbours still share their edge.
  EXPECT_EQ(h.kb.KeyFor(27)->Points()[1].x, h.kb.KeyFor(112)->Points()[0].x);
  EXPECT_EQ(h.kb.KeyFor(32)->Points()[0].y, 270);  // ceil(180 x 271/181) = ceil(269.50)
  EXPECT_EQ(h.kb.KeyFor(32)->Points()[0].y, h.kb.KeyFor(162)->Points()[0].y);
  EXPECT_EQ(h.kb.EscapeKeySize(), (Size{54, 45}));
  EXPECT_EQ(h.kb.RightShiftWidth(), 108);
  EXPECT_EQ(h.kb.SpaceBarHeight(), 45);

  // Each scale starts from the layout's size, not from the last one.
  h.kb.ScaleToClient(100, 50);
  h.kb.ScaleToClient(441, 181);
  EXPECT_EQ(h.kb.KeyFor(27)->Points(), Corners(0, 0, 30, 30));
  h.kb.ScaleToClient(-10, -10);  // held at 0: every corner on the origin
  EXPECT_EQ(h.kb.KeyFor(27)->Points(), Corners(0, 0, 0, 0));
}

TEST(LayoutStandard, AFailedLoadLeavesNothingToScaleFrom) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  ASSERT_FALSE(h.kb.LoadLayoutText(
      "t", "Height=100\r\nWidth=200\r\n" + KeyLine(27, 0, 0, 20, 20) + "\r\n65=x"));
  h.kb.ScaleToClient(400, 200);
  EXPECT_EQ(h.kb.Width(), 400);
  EXPECT_EQ(h.kb.KeyFor(27)->Points(), Corners(0, 0, 20, 20)) << "not scaled";
}

TEST(LayoutExtents, KeysTheLayoutLacksGetTheBuiltInExtentsScaled) {
  struct ExtentRow {
    const char* what;
    std::string text;
    bool loads;
  } rows[] = {
      {"no such keys", "Height=181\r\nWidth=441\r\n" + KeyLine(65, 0, 0, 30, 30), true},
      {"keys without outlines", "Height=181\r\nWidth=441\r\n27=\r\n32=5\r\n161=", true},
      {"a load that failed before them", "Height=181\r\nWidth=441\r\n20=x", false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    KeyboardHarness h;
    EXPECT_EQ(h.kb.LoadLayoutText("t", r.text), r.loads);
    EXPECT_EQ(h.kb.EscapeKeySize(), (Size{30, 30}));
    EXPECT_EQ(h.kb.RightShiftWidth(), 60);
    EXPECT_EQ(h.kb.SpaceBarHeight(), 30);
    h.kb.ScaleToClient(882, 362);
    EXPECT_EQ(h.kb.EscapeKeySize(), (Size{60, 60}));
    EXPECT_EQ(h.kb.RightShiftWidth(), 120);
    EXPECT_EQ(h.kb.SpaceBarHeight(), 60);
  }
  // Before any layout at all.
  KeyboardHarness fresh;
  fresh.kb.SetSize(441, 181);
  EXPECT_EQ(fresh.kb.EscapeKeySize(), (Size{30, 30}));
}

// --- Loader rules ------------------------------------------------------------

TEST(LayoutLoader, SizesAndNames) {
  struct SizeRow {
    std::string text;
    std::int32_t height, width;
  };
  const std::vector<SizeRow> rows = {
      {"", 300, 800},
      {"27=0,30;30,30;30,0;0,0", 300, 800},
      {"height=100\r\nWIDTH=200", 100, 200},
  };
  for (std::size_t i = 0; i < rows.size(); ++i) {
    KeyboardHarness h;
    ASSERT_TRUE(h.kb.LoadLayoutText("t", rows[i].text)) << rows[i].text;
    EXPECT_EQ(h.kb.Height(), rows[i].height) << rows[i].text;
    EXPECT_EQ(h.kb.Width(), rows[i].width) << rows[i].text;
    EXPECT_EQ(h.Work().Height(), rows[i].height);
    EXPECT_EQ(h.Work().Width(), rows[i].width);
  }
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayoutText("t", "Height =100\r\nWidth=\r\nHeight=50\r\nHeight=70"));
  EXPECT_EQ(h.kb.Height(), 50);  // "Height " is another name; the first Height counts
  EXPECT_EQ(h.kb.Width(), 800);  // empty: the default
}

TEST(LayoutLoader, KeyItems) {
  struct ItemRow {
    std::string value;
    std::vector<Point> points;
  };
  const std::vector<ItemRow> rows = {
      {"pic:a;60,120;90,120;90,90;60,90", Corners(60, 90, 90, 120)},
      {"60,120;pictr:x,y;90,120;90,90;pic:;60,90", Corners(60, 90, 90, 120)},
      {"pictr:whatever", {}},
      {"", {}},
      {"5", {{5, 5}}},
      {"-3", {{-3, -3}}},
      {"-1,-1;0,0", {{-1, -1}, {0, 0}}},
      {"Pic:x", {}},  // not recognised: letter case matters, and it fails (below)
  };
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    KeyboardHarness h;
    ASSERT_TRUE(h.kb.LoadLayoutText("t", "65=" + rows[i].value)) << rows[i].value;
    EXPECT_EQ(h.kb.KeyFor(65)->Points(), rows[i].points) << rows[i].value;
  }
  KeyboardHarness h;
  EXPECT_FALSE(h.kb.LoadLayoutText("t", "65=" + rows.back().value));

  // A one-point key is neither drawn nor hit.
  KeyboardHarness one;
  ASSERT_TRUE(one.kb.LoadLayoutText("t", "65=5"));
  one.kb.TrackPointer(5, 5);
  EXPECT_EQ(one.kb.HoverKey(), nullptr);
}

TEST(LayoutLoader, OnlyPlainDecimalNamesAreKeysAndTheFirstLineCounts) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayoutText(
      "t",
      "065=1,1;2,2\r\n300=1,1;2,2\r\n0=1,1;2,2\r\n 66=1,1;2,2\r\n+67=1,1;2,2\r\n"
      "65=10,10;20,20\r\n65=30,30;40,40\r\n255=7,8;9,10"));
  for (int vk = 1; vk <= 254; ++vk)
    if (vk != 65) {
      EXPECT_TRUE(h.kb.KeyFor(vk)->Points().empty()) << vk;
    }
  EXPECT_EQ(h.kb.KeyFor(65)->Points(), (std::vector<Point>{{10, 10}, {20, 20}}));
  EXPECT_EQ(h.kb.KeyFor(255)->Points(), (std::vector<Point>{{7, 8}, {9, 10}}));
}

TEST(LayoutLoader, CommentsInfoAndLineEnds) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayoutText(
      "Mine", ";first\r\n;second\n;=third\r27=0,30;30,30;30,0;0,0\r\n;late\r\nInfo=a=b;c"));
  EXPECT_EQ(h.kb.LayoutName(), "Mine");
  EXPECT_EQ(h.kb.LayoutComment(), "first\r\nsecond\r\n=third\r\n");
  EXPECT_EQ(h.kb.LayoutInfo(), "a=b;c");
  EXPECT_EQ(h.kb.KeyFor(27)->Points(), Corners(0, 0, 30, 30));

  KeyboardHarness blank;
  ASSERT_TRUE(blank.kb.LoadLayoutText("t", ";one\r\n\r\n;two"));
  EXPECT_EQ(blank.kb.LayoutComment(), "one\r\n");  // an empty line ends the comment
}

TEST(LayoutLoader, IntegerConversion) {
  const std::vector<std::pair<std::string, std::int32_t>> good = {{"0", 0},
                                                                  {"-5", -5},
                                                                  {"2147483647", 2147483647},
                                                                  {"-2147483648", -2147483647 - 1},
                                                                  {"007", 7}};
  for (const auto& [text, value] : good) {
    KeyboardHarness h;
    ASSERT_TRUE(h.kb.LoadLayoutText("t", "Height=" + text + "\r\n65=" + text)) << text;
    EXPECT_EQ(h.kb.KeyFor(65)->Points(), (std::vector<Point>{{value, value}})) << text;
  }
  const std::vector<std::string> bad = {"a",   "5 ",         " 5",          "1x",
                                        "--1", "+1",         "-",           "0x10",
                                        "1.5", "2147483648", "-2147483649", "99999999999999999999"};
  for (const auto& text : bad) {
    KeyboardHarness key;
    EXPECT_FALSE(key.kb.LoadLayoutText("t", "65=" + text)) << text;
    EXPECT_FALSE(key.kb.LoadLayoutText("t", "65=1," + text)) << text;
    EXPECT_FALSE(key.kb.LoadLayoutText("t", "65=" + text + ",1")) << text;
    KeyboardHarness size;
    EXPECT_FALSE(size.kb.LoadLayoutText("t", "Width=" + text)) << text;
  }
}

TEST(LayoutLoader, AFailedLoadKeepsWhatItBuilt) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.ForgetCalls();

  const std::string text = "Height=90\r\nInfo=x\r\n" + KeyLine(27, 0, 0, 30, 30) +
                           "\r\n65=60,120;90,120;90,90;60,90;\r\n" + KeyLine(66, 0, 0, 5, 5);
  EXPECT_FALSE(h.kb.LoadLayoutText("Broken", text));
  EXPECT_EQ(h.kb.LayoutName(), "Broken");
  EXPECT_EQ(h.kb.LayoutInfo(), "x");
  EXPECT_EQ(h.kb.Height(), 90);
  EXPECT_EQ(h.kb.Width(), 800);
  EXPECT_EQ(h.kb.KeyFor(27)->Points(), Corners(0, 0, 30, 30));
  EXPECT_TRUE(h.kb.KeyFor(64)->Points().empty());
  EXPECT_EQ(h.kb.KeyFor(65), nullptr);
  EXPECT_EQ(h.kb.KeyFor(66), nullptr);
  EXPECT_EQ(h.kb.HoverKey(), nullptr);
  // Painting comes back, so a failed reload does not freeze the picture.
  EXPECT_TRUE(h.kb.Picture().PaintingEnabled());

  KeyboardHarness badSize;
  ASSERT_TRUE(badSize.kb.LoadLayout("Standard"));
  EXPECT_FALSE(badSize.kb.LoadLayoutText("t", "Height=12\r\nWidth=wide"));
  EXPECT_EQ(badSize.kb.Height(), 12);
  EXPECT_EQ(badSize.kb.Width(), 441);  // kept from before
  EXPECT_EQ(badSize.kb.KeyFor(27), nullptr);
}

TEST(LayoutLoader, AFailedReloadOfTheSameSizeRebuildsTheBase) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.ForgetCalls();
  // The base image still has the size, and would still show the old keys.
  EXPECT_FALSE(h.kb.LoadLayoutText("t", "Height=181\r\nWidth=441\r\n65=x"));
  EXPECT_EQ(h.Base().Count(fakes::DrawCall::kFillRect), 1u);
  EXPECT_EQ(h.Base().Count(fakes::DrawCall::kPolygon), 0u) << "the keys left have no outline";
}

TEST(LayoutLoader, PaintingStaysOffWhenItWasOff) {
  KeyboardHarness h;
  h.kb.Picture().SetPaintingEnabled(false);
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  EXPECT_FALSE(h.kb.Picture().PaintingEnabled());
  EXPECT_TRUE(h.screen.copies.empty());
  EXPECT_FALSE(h.kb.LoadLayoutText("t", "65=x"));
  EXPECT_FALSE(h.kb.Picture().PaintingEnabled());
  h.kb.Picture().SetPaintingEnabled(true);  // the base was marked stale meanwhile: rebuilt
  EXPECT_EQ(h.Base().Count(fakes::DrawCall::kFillRect), 1u);
}

TEST(LayoutLoader, OddTextNeverCrashes) {
  std::string longList = "65=";
  for (int i = 0; i < 300; ++i) longList += std::to_string(i) + "," + std::to_string(i) + ";";
  longList.pop_back();
  const std::vector<std::string> texts = {
      "=",
      "==\r\n=;=",
      std::string("65=1\0,2", 7),
      "\r\n\r\n\n\r",
      ";",
      "65=;",
      "65=,",
      "65=;;",
      "65=1,2,3",
      "Height=-5\r\nWidth=-7",
      "Width=0",
      longList,
      "255=1,1\r\n256=2,2\r\n-1=3,3",
  };
  for (const auto& text : texts) {
    KeyboardHarness h;
    h.kb.LoadLayoutText("t", text);
    h.kb.TrackPointer(1, 1);
    h.kb.Picture().Redraw(true);
  }
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayoutText("t", longList));
  EXPECT_TRUE(
      h.kb.KeyFor(65)->Points().empty());  // 300 points: no outline rather than a wrapped one
  ASSERT_TRUE(h.kb.LoadLayoutText("t", "Height=-5\r\nWidth=-7"));
  EXPECT_EQ(h.kb.Height(), 0);
  EXPECT_EQ(h.kb.Width(), 0);
}

TEST(LayoutLoader, ReloadingReplacesEveryKey) {
  KeyboardHarness h;
  ASSERT_TRUE(h.kb.LoadLayout("Standard"));
  h.kb.TrackPointer(15, 15);
  ASSERT_TRUE(h.kb.LoadLayoutText("Small", KeyLine(28, 0, 0, 10, 10)));
  EXPECT_EQ(h.kb.HoverKey(), nullptr);
  EXPECT_TRUE(h.kb.KeyFor(27)->Points().empty());
  EXPECT_EQ(h.kb.KeyFor(28)->Points(), Corners(0, 0, 10, 10));
  EXPECT_EQ(h.kb.Height(), 300);
}

struct SplitRow {
  std::string s, seps;
  int pos;
  std::string before, after;
};

TEST(LayoutLoaderText, SeparatorPosTextBeforeTextAfter) {
  const std::vector<SplitRow> rows = {
      {"", ";", 0, "", ""},
      {"60,120;90,120", ";", 7, "60,120", "90,120"},
      {"5", ",", 0, "5", "5"},  // no separator: both halves are the whole text
      {"5,", ",", 2, "5", ""},
      {",5", ",", 1, "", "5"},
      {";", ";", 1, "", ""},
      {"a=b=c", "=", 2, "a", "b=c"},
      // the separators are tried in turn: the first one that occurs wins,
      // even when a later one occurs earlier in the text
      {"a,b;c", ";,", 4, "a,b", "c"},
      {"a,b;c", ",;", 2, "a", "b;c"},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(SeparatorPos(r.s, r.seps), r.pos) << r.s;
    EXPECT_EQ(TextBefore(r.s, r.seps), r.before) << r.s;
    EXPECT_EQ(TextAfter(r.s, r.seps), r.after) << r.s;
  }
}

}  // namespace
}  // namespace luma
