#include <gtest/gtest.h>

#include <array>

#include "Fakes.h"
#include "theme/Dimming.h"
#include "theme/Theme.h"

namespace luma {
namespace {

// Colors written #RRGGBB (red first), stored as COLORREF 0x00BBGGRR.
constexpr Color H(std::uint32_t rrggbb) {
  return Rgb((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

fakes::FakeSystemColors Classic() { return {}; }  // face #D4D0C8, highlight #0A246A

fakes::FakeSystemColors Modern() {
  fakes::FakeSystemColors sys;
  sys.colors[kColorBtnFace] = H(0xF0F0F0);
  sys.colors[kColorHighlight] = H(0x3399FF);
  sys.colors[kColorWindow] = H(0xFFFFFF);
  return sys;
}

const VisualStyleInfo kNoStyle{};

TEST(MixSysColors, DownAndHotMixesAndGroupColorOfKnownPalettes) {
  struct Row {
    const char* what;
    fakes::FakeSystemColors sys;
    Color down, hot, group;
  } rows[] = {
      {"classic", Classic(), H(0x8893B1), H(0xB7BFD4), H(0xE9E7E3)},
      // The hot mix's blue exceeds 255 and is clamped.
      {"modern", Modern(), H(0x9ECBF8), H(0xC2E1FF), H(0xF7F7F7)},
  };
  for (auto& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(MixSysColors(row.sys, 14, 44, 40), row.down);
    EXPECT_EQ(MixSysColors(row.sys, -2, 30, 72), row.hot);
    const ThemeColors t = ComputeThemeColors(row.sys, kNoStyle);
    EXPECT_EQ(t.ThemeVariant, 0);
    EXPECT_EQ(t.ThemeDownFace, row.down);
    EXPECT_EQ(t.ThemeHotFace, row.hot);
    EXPECT_EQ(t.ThemeGroupColor, row.group);
    EXPECT_EQ(t.ThemeBorder, H(0x808080));  // the fake's button shadow, unchanged
  }
}

TEST(MixSysColors, BlackOrWhiteFaceGivesTheHighlight) {
  for (Color face : {H(0x000000), H(0xFFFFFF)}) {
    fakes::FakeSystemColors sys;
    sys.colors[kColorBtnFace] = face;
    EXPECT_EQ(MixSysColors(sys, 14, 44, 40), H(0x0A246A));
    EXPECT_EQ(MixSysColors(sys, -2, 30, 72), H(0x0A246A));
  }
}

TEST(MixSysColors, EachTermRoundsHalvesAwayFromZeroAndTheSumIsClamped) {
  fakes::FakeSystemColors sys;
  sys.colors[kColorBtnFace] = Rgb(50, 150, 250);
  // 0.5, 1.5, 2.5 round up to 1, 2, 3 (not truncated, not to even).
  EXPECT_EQ(MixSysColors(sys, 1, 0, 0), Rgb(1, 2, 3));
  // -0.5, -1.5, -2.5 round to -1, -2, -3; the window adds exactly 51.
  EXPECT_EQ(MixSysColors(sys, -1, 0, 20), Rgb(50, 49, 48));
  // Far below zero stays at 0 rather than wrapping.
  EXPECT_EQ(MixSysColors(sys, -100, 0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(MixSysColors(sys, 0, 0, 127), Rgb(255, 255, 255));
}

TEST(ThemeVariant, FromVisualStyle) {
  struct Row {
    bool inUse, ok;
    const char16_t* file;
    const char16_t* color;
    unsigned major;
    int variant;
  } rows[] = {
      {true, true, u"C:\\Windows\\Resources\\Themes\\aero\\aero.msstyles", u"NormalColor", 6, 1},
      {true, true, u"C:\\x\\Other.msstyles", u"homestead", 10, 2},
      {true, true, u"C:\\WINDOWS\\Resources\\Themes\\Luna\\luna.msstyles", u"Metallic", 5, 3},
      {true, true, u"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.MSSTYLES", u"HomeStead", 5, 2},
      // Windows 5 knows the variants only from Luna.
      {true, true, u"C:\\WINDOWS\\Resources\\Themes\\Royale\\royale.msstyles", u"NormalColor", 5,
       0},
      {true, true, u"C:\\luna.msstyles.bak", u"NormalColor", 5, 0},
      {true, true, u"luna.msstyles", u"NormalColor", 5, 1},
      {true, true, u"C:\\x\\aero.msstyles", u"Blue", 6, 0},
      {true, true, u"C:\\x\\aero.msstyles", u"", 6, 0},
      {true, false, u"C:\\x\\aero.msstyles", u"NormalColor", 6, 0},
      {false, true, u"C:\\x\\aero.msstyles", u"NormalColor", 6, 0},
  };
  for (const auto& r : rows) {
    VisualStyleInfo style{r.inUse, r.ok, r.file, r.color, r.major};
    EXPECT_EQ(ThemeVariantFor(style), r.variant)
        << std::string(style.colorName.begin(), style.colorName.end()) << " on " << r.major;
  }
}

TEST(ThemeColors, FixedColorsPerVariantOtherwiseDerived) {
  struct Row {
    const char16_t* color;
    int variant;
    Color group, border;
  } rows[] = {
      {u"NORMALCOLOR", 1, H(0xD3E5FB), H(0x2A66C9)},
      {u"HOMESTEAD", 2, H(0xF2F5DB), H(0x74865E)},
      {u"METALLIC", 3, H(0xF0F1F8), H(0x7A7999)},
  };
  auto sys = Classic();
  for (const auto& r : rows) {
    const ThemeColors t =
        ComputeThemeColors(sys, VisualStyleInfo{true, true, u"C:\\a.msstyles", r.color, 6});
    EXPECT_EQ(t.ThemeVariant, r.variant);
    EXPECT_EQ(t.ThemeGroupColor, r.group);
    EXPECT_EQ(t.ThemeHotFace, H(0xFFD091));
    EXPECT_EQ(t.ThemeDownFace, H(0xFE914E));
    EXPECT_EQ(t.ThemeBorder, r.border);
  }
  // A visual style is active, but not one with a known variant.
  const ThemeColors t =
      ComputeThemeColors(sys, VisualStyleInfo{true, true, u"C:\\royale.msstyles", u"METALLIC", 5});
  EXPECT_EQ(t.ThemeVariant, 0);
  EXPECT_EQ(t.ThemeGroupColor, H(0xE9E7E3));
  EXPECT_EQ(t.ThemeDownFace, H(0x8893B1));
}

TEST(ThemeColors, DerivedColorsGoThroughNearestColor) {
  struct Palette16 : fakes::FakeSystemColors {
    Color NearestColor(Color c) override { return c & 0xF8F8F8; }
  } sys;
  const ThemeColors t = ComputeThemeColors(sys, kNoStyle);
  EXPECT_EQ(t.ThemeGroupColor, H(0xE9E7E3) & 0xF8F8F8);
  EXPECT_EQ(t.ThemeDownFace, H(0x8893B1) & 0xF8F8F8);
  EXPECT_EQ(t.ThemeHotFace, H(0xB7BFD4) & 0xF8F8F8);
}

// Slot order: BackColor, BackPenColor, RestFace, RestBorder, RestCaption,
// RestChar, DownFace, DownBorder, DownCaption, DownChar, HotFace, HotBorder,
// HotCaption, HotChar.
using Slots = std::array<Color, 14>;

Slots SlotsOf(const Theme& t) {
  return {t.BackColor, t.BackPenColor, t.RestFace,   t.RestBorder,  t.RestCaption,
          t.RestChar,  t.DownFace,     t.DownBorder, t.DownCaption, t.DownChar,
          t.HotFace,   t.HotBorder,    t.HotCaption, t.HotChar};
}

TEST(ApplyColorScheme, SevenSchemes) {
  // Distinct stand-ins, so that each cell shows which theme color it took.
  const ThemeColors tc{0, H(0x010101), H(0x020202), H(0x030303), H(0x040404)};
  const Color group = tc.ThemeGroupColor, hotFace = tc.ThemeHotFace, downFace = tc.ThemeDownFace,
              border = tc.ThemeBorder;
  const Color btnFace = 0xFF00000F, windowText = 0xFF000008, window = 0xFF000005;
  const Color downMix = H(0x8893B1), hotMix = H(0xB7BFD4);  // classic palette

  const Slots schemes[7] = {
      {group, H(0x3B5A82), group, H(0x7AA0DA), H(0x204D89), H(0x000000), downFace, H(0x7B6645),
       H(0x204D89), H(0x000000), hotFace, H(0x7AA0DA), H(0x204D89), H(0x000000)},
      {btnFace, H(0x000000), btnFace, windowText, windowText, H(0x0000FF), downMix, border, window,
       window, hotMix, border, windowText, H(0x0000FF)},
      {H(0xFFFFFF), H(0x000000), H(0xFFFFFF), H(0x000000), H(0x000000), H(0x000000), H(0xFF4E1A),
       H(0x4D5B60), H(0x0A246B), H(0x0A246B), H(0x000000), H(0x000000), H(0xFFFFFF), H(0xFFFFFF)},
      {H(0x202020), H(0xFFFFFF), H(0x202020), H(0xFFFFFF), H(0xFFFFFF), H(0xFFFFFF), H(0xFFFFFF),
       H(0xFFFFFF), H(0x000000), H(0x000000), btnFace, H(0x5A848F), H(0x000000), H(0x000000)},
      {H(0xE9ECEF), H(0x3B5A82), H(0xE9ECEF), H(0x727880), H(0x4C535C), H(0x000000), downFace,
       H(0x7B6645), H(0x4C535C), H(0x000000), hotFace, H(0x727880), H(0x4C535C), H(0x000000)},
      {H(0xDBE2E4), H(0x2F2F2F), H(0xDBE2E4), H(0xA3B0B5), H(0x373C43), H(0x000000), downFace,
       H(0x7B6645), H(0x373C43), H(0x000000), hotFace, H(0xA3B0B5), H(0x373C43), H(0x000000)},
      {H(0xFEFEFE), H(0x494949), H(0xFEFEFE), H(0xB7B7B8), H(0x1D2738), H(0x000000), H(0x7096C6),
       H(0x3C3E3F), H(0x1D2738), H(0x000000), H(0x6CA5E0), H(0x686868), H(0x1D2738), H(0x000000)},
  };
  auto sys = Classic();
  for (int n = 1; n <= 7; ++n) {
    Theme theme;
    theme.KeyFontLarge.Size = 10;
    ApplyColorScheme(n, theme, tc, sys);
    const Slots got = SlotsOf(theme);
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_EQ(got[i], schemes[n - 1][i]) << "scheme " << n << " slot " << i;
    EXPECT_EQ(theme.RestFace, theme.BackColor);
    EXPECT_EQ(theme.KeyFontLarge.Size, 10) << "fonts are not part of a scheme";
  }
}

TEST(ApplyColorScheme, NumbersOutsideOneToSevenChangeNothing) {
  auto sys = Classic();
  const ThemeColors tc = ComputeThemeColors(sys, kNoStyle);
  for (int n : {0, 8, -1, 100}) {
    Theme theme;
    EXPECT_EQ(SlotsOf(theme), Slots{}) << "all black before any scheme";
    ApplyColorScheme(n, theme, tc, sys);
    EXPECT_EQ(SlotsOf(theme), Slots{}) << n;
    ApplyColorScheme(3, theme, tc, sys);
    const Slots three = SlotsOf(theme);
    ApplyColorScheme(n, theme, tc, sys);
    EXPECT_EQ(SlotsOf(theme), three) << n;
  }
}

TEST(ApplyColorScheme, SchemeTwoMixesFollowTheSystemColorsWhenApplied) {
  auto sys = Classic();
  const ThemeColors tc = ComputeThemeColors(sys, kNoStyle);
  Theme theme;
  ApplyColorScheme(2, theme, tc, sys);
  EXPECT_EQ(theme.DownFace, H(0x8893B1));
  sys.colors[kColorBtnFace] = H(0xF0F0F0);
  sys.colors[kColorHighlight] = H(0x3399FF);
  ApplyColorScheme(2, theme, tc, sys);
  EXPECT_EQ(theme.DownFace, H(0x9ECBF8));
  EXPECT_EQ(theme.HotFace, H(0xC2E1FF));
  // The theme colors stay those of start-up.
  EXPECT_EQ(theme.DownBorder, tc.ThemeBorder);
}

// The look of a keyboard that cannot type into the window in front.
TEST(DimmedColors, KeyColorsGoHalfwayToTheBackgroundWhichStays) {
  fakes::FakeSystemColors sys;
  SchemeColors colors;
  colors.BackColor = SysColor(kColorBtnFace);  // D4 D0 C8
  colors.RestBorder = SysColor(kColorWindow);  // white
  colors.HotChar = Rgb(0x10, 0x20, 0x31);
  colors.DownFace = kBackgroundFace;  // a marker, not a color
  const SchemeColors dimmed = DimmedColors(colors, sys);
  EXPECT_EQ(dimmed.BackColor, colors.BackColor);
  EXPECT_EQ(dimmed.RestBorder, Rgb(0xEA, 0xE8, 0xE4));
  EXPECT_EQ(dimmed.HotChar, Rgb(0x72, 0x78, 0x7D));
  EXPECT_EQ(dimmed.RestChar, Rgb(0x6A, 0x68, 0x64));
  EXPECT_EQ(dimmed.DownFace, kBackgroundFace);
}

}  // namespace
}  // namespace luma
