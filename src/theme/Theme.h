// Colour slots, key fonts, the seven colour schemes and the theme colours.
#pragma once

#include <cstdint>
#include <string>

#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

struct KeyFont {
  std::string Name = "Tahoma";
  std::uint16_t Size = 0;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
};

struct THvTheme {
  Colour BackColor = 0;
  Colour BackPenColor = 0;
  Colour RestFace = 0;
  Colour RestBorder = 0;
  Colour RestCaption = 0;
  Colour RestChar = 0;
  Colour DownFace = 0;
  Colour DownBorder = 0;
  Colour DownCaption = 0;
  Colour DownChar = 0;
  Colour HotFace = 0;
  Colour HotBorder = 0;
  Colour HotCaption = 0;
  Colour HotChar = 0;
  KeyFont KeyFontSmall;
  KeyFont KeyFontLarge;
};

// Process-wide; all colours black until a scheme is applied.
extern THvTheme HvTheme;

struct ThemeColours {
  int ThemeVariant = 0;  // 0 none, 1 NORMALCOLOR, 2 HOMESTEAD, 3 METALLIC
  Colour ThemeGroupColor = 0;
  Colour ThemeHotFace = 0;
  Colour ThemeDownFace = 0;
  Colour ThemeBorder = 0;
};
extern ThemeColours HvThemeColours;

// What the visual-style library reported; filled by the shell.
struct VisualStyleInfo {
  bool inUse = false;        // UxTheme.dll loaded and IsThemeActive true
  bool nameQueryOk = false;  // GetCurrentThemeName succeeded
  std::u16string themeFile;  // full path of the .msstyles file
  std::u16string colourName;
  unsigned windowsMajorVersion = 0;
};

// Signed percentages of the button face, highlight and window colours.
Colour MixSysColors(SystemColours& sys, int pFace, int pHighlight, int pWindow);
int ThemeVariantFor(const VisualStyleInfo& style);
ThemeColours ComputeThemeColors(SystemColours& sys, const VisualStyleInfo& style);
// Fills every slot of theme from scheme n (1..7); any other n changes nothing.
void ApplyColorScheme(int n, THvTheme& theme, const ThemeColours& themeColours,
                      SystemColours& sys);

// Smallest font size (points) that key labels are drawn with; labels that
// would be smaller are not drawn, so GDI never gets a nonsensical size.
inline constexpr int kMinLabelPoints = 4;

}  // namespace luma
