// PLACEHOLDER until the colour schemes land.
#include "theme/Theme.h"
namespace luma {
THvTheme HvTheme;
ThemeColours HvThemeColours;
Colour MixSysColors(SystemColours&, int, int, int) { return 0; }
int ThemeVariantFor(const VisualStyleInfo&) { return 0; }
ThemeColours ComputeThemeColors(SystemColours&, const VisualStyleInfo&) { return {}; }
void ApplyColorScheme(int, THvTheme&, const ThemeColours&, SystemColours&) {}
}  // namespace luma
