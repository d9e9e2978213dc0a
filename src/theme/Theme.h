// Color slots, key fonts, the seven color schemes and the theme colors.
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

// The colors a scheme sets, in the order the scheme table gives them.
struct SchemeColors {
  Color BackColor = 0;
  Color BackPenColor = 0;
  Color RestFace = 0;
  Color RestBorder = 0;
  Color RestCaption = 0;
  Color RestChar = 0;
  Color DownFace = 0;
  Color DownBorder = 0;
  Color DownCaption = 0;
  Color DownChar = 0;
  Color HotFace = 0;
  Color HotBorder = 0;
  Color HotCaption = 0;
  Color HotChar = 0;
};

// The look of the keys: owned by the program and handed to the keyboard;
// all colors black until a scheme is applied.
struct Theme : SchemeColors {
  KeyFont KeyFontSmall;
  KeyFont KeyFontLarge;
};

struct ThemeColors {
  int ThemeVariant = 0;  // 0 none, 1 NORMALCOLOR, 2 HOMESTEAD, 3 METALLIC
  Color ThemeGroupColor = 0;
  Color ThemeHotFace = 0;
  Color ThemeDownFace = 0;
  Color ThemeBorder = 0;
};

// What the visual-style library reported; filled by the shell.
struct VisualStyleInfo {
  bool inUse = false;        // UxTheme.dll loaded and IsThemeActive true
  bool nameQueryOk = false;  // GetCurrentThemeName succeeded
  std::u16string themeFile;  // full path of the .msstyles file
  std::u16string colorName;
  unsigned windowsMajorVersion = 0;
};

// Signed percentages of the button face, highlight and window colors.
Color MixSysColors(SystemColors& sys, int pFace, int pHighlight, int pWindow);
int ThemeVariantFor(const VisualStyleInfo& style);
ThemeColors ComputeThemeColors(SystemColors& sys, const VisualStyleInfo& style);
// Fills every slot of theme from scheme n (1..7); any other n changes nothing.
void ApplyColorScheme(int n, Theme& theme, const ThemeColors& themeColors, SystemColors& sys);

}  // namespace luma
