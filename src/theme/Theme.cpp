// Color mixing, theme colors and the seven color schemes.
#include "theme/Theme.h"

#include <algorithm>
#include <cstdint>

namespace luma {

namespace {

constexpr Color Hex(std::uint32_t rrggbb) {
  return Rgb((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

Color DownMix(SystemColors& sys) { return sys.NearestColor(MixSysColors(sys, 14, 44, 40)); }
Color HotMix(SystemColors& sys) { return sys.NearestColor(MixSysColors(sys, -2, 30, 72)); }

std::u16string UpperAscii(std::u16string_view s) {
  std::u16string out(s);
  for (auto& ch : out) ch = AsciiUpper(ch);
  return out;
}

std::u16string FileNamePart(std::u16string_view path) {
  const auto slash = path.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace

Color MixSysColors(SystemColors& sys, int pFace, int pHighlight, int pWindow) {
  const Color face = sys.GetSysColor(kColorBtnFace);
  const Color highlight = sys.GetSysColor(kColorHighlight);
  const Color window = sys.GetSysColor(kColorWindow);
  // A face of pure black or white gives no usable mix; the highlight stands in.
  if (face == Rgb(0, 0, 0) || face == Rgb(255, 255, 255)) return highlight;
  auto channel = [&](unsigned (*of)(Color)) {
    const std::int64_t v = MulDivRounded(of(face), pFace, 100) +
                           MulDivRounded(of(highlight), pHighlight, 100) +
                           MulDivRounded(of(window), pWindow, 100);
    return static_cast<unsigned>(std::clamp<std::int64_t>(v, 0, 255));
  };
  return Rgb(channel(RedOf), channel(GreenOf), channel(BlueOf));
}

int ThemeVariantFor(const VisualStyleInfo& style) {
  if (!style.inUse || !style.nameQueryOk) return 0;
  // Before Windows 6 only Luna's color names are known to mean these variants.
  if (UpperAscii(FileNamePart(style.themeFile)) != u"LUNA.MSSTYLES" &&
      style.windowsMajorVersion <= 5)
    return 0;
  const std::u16string color = UpperAscii(style.colorName);
  if (color == u"NORMALCOLOR") return 1;
  if (color == u"HOMESTEAD") return 2;
  if (color == u"METALLIC") return 3;
  return 0;
}

ThemeColors ComputeThemeColors(SystemColors& sys, const VisualStyleInfo& style) {
  ThemeColors t;
  t.ThemeVariant = ThemeVariantFor(style);
  if (style.inUse && t.ThemeVariant != 0) {
    static constexpr std::uint32_t kGroup[] = {0xD3E5FB, 0xF2F5DB, 0xF0F1F8};
    static constexpr std::uint32_t kBorder[] = {0x2A66C9, 0x74865E, 0x7A7999};
    const auto i = static_cast<std::size_t>(t.ThemeVariant - 1);
    t.ThemeGroupColor = Hex(kGroup[i]);
    t.ThemeHotFace = Hex(0xFFD091);
    t.ThemeDownFace = Hex(0xFE914E);
    t.ThemeBorder = Hex(kBorder[i]);
    return t;
  }
  // The button face lifted halfway towards white.
  const Color face = sys.GetSysColor(kColorBtnFace);
  auto lift = [](unsigned c) { return c * 127 / 255 + 128; };
  t.ThemeGroupColor =
      sys.NearestColor(Rgb(lift(RedOf(face)), lift(GreenOf(face)), lift(BlueOf(face))));
  t.ThemeHotFace = HotMix(sys);
  t.ThemeDownFace = DownMix(sys);
  t.ThemeBorder = sys.GetSysColor(kColorBtnShadow);
  return t;
}

void ApplyColorScheme(int n, Theme& theme, const ThemeColors& tc, SystemColors& sys) {
  if (n < 1 || n > 7) return;
  const Color btnFace = SysColor(kColorBtnFace);
  const Color windowText = SysColor(kColorWindowText);
  const Color window = SysColor(kColorWindow);
  // The mixes follow the system colors of the moment the scheme is applied.
  const Color downMix = n == 2 ? DownMix(sys) : 0;
  const Color hotMix = n == 2 ? HotMix(sys) : 0;

  SchemeColors r;
  switch (n) {
    case 1:
      r = {tc.ThemeGroupColor, Hex(0x3B5A82),    tc.ThemeGroupColor, Hex(0x7AA0DA), Hex(0x204D89),
           Hex(0x000000),      tc.ThemeDownFace, Hex(0x7B6645),      Hex(0x204D89), Hex(0x000000),
           tc.ThemeHotFace,    Hex(0x7AA0DA),    Hex(0x204D89),      Hex(0x000000)};
      break;
    case 2:
      r = {btnFace,       Hex(0x000000),  btnFace,        windowText,   windowText,
           Hex(0x0000FF), downMix,        tc.ThemeBorder, window,       window,
           hotMix,        tc.ThemeBorder, windowText,     Hex(0x0000FF)};
      break;
    case 3:
      r = {Hex(0xFFFFFF), Hex(0x000000), Hex(0xFFFFFF), Hex(0x000000), Hex(0x000000),
           Hex(0x000000), Hex(0xFF4E1A), Hex(0x4D5B60), Hex(0x0A246B), Hex(0x0A246B),
           Hex(0x000000), Hex(0x000000), Hex(0xFFFFFF), Hex(0xFFFFFF)};
      break;
    case 4:
      r = {Hex(0x202020), Hex(0xFFFFFF), Hex(0x202020), Hex(0xFFFFFF), Hex(0xFFFFFF),
           Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0xFFFFFF), Hex(0x000000), Hex(0x000000),
           btnFace,       Hex(0x5A848F), Hex(0x000000), Hex(0x000000)};
      break;
    case 5:
      r = {Hex(0xE9ECEF),   Hex(0x3B5A82),    Hex(0xE9ECEF), Hex(0x727880), Hex(0x4C535C),
           Hex(0x000000),   tc.ThemeDownFace, Hex(0x7B6645), Hex(0x4C535C), Hex(0x000000),
           tc.ThemeHotFace, Hex(0x727880),    Hex(0x4C535C), Hex(0x000000)};
      break;
    case 6:
      r = {Hex(0xDBE2E4),   Hex(0x2F2F2F),    Hex(0xDBE2E4), Hex(0xA3B0B5), Hex(0x373C43),
           Hex(0x000000),   tc.ThemeDownFace, Hex(0x7B6645), Hex(0x373C43), Hex(0x000000),
           tc.ThemeHotFace, Hex(0xA3B0B5),    Hex(0x373C43), Hex(0x000000)};
      break;
    default:  // 7
      r = {Hex(0xFEFEFE), Hex(0x494949), Hex(0xFEFEFE), Hex(0xB7B7B8), Hex(0x1D2738),
           Hex(0x000000), Hex(0x7096C6), Hex(0x3C3E3F), Hex(0x1D2738), Hex(0x000000),
           Hex(0x6CA5E0), Hex(0x686868), Hex(0x1D2738), Hex(0x000000)};
      break;
  }
  static_cast<SchemeColors&>(theme) = r;
}

}  // namespace luma
