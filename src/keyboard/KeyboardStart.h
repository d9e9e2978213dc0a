// How the program starts a keyboard model, shared with the tests, benchmarks
// and tools that need its picture as the program draws it: created over its
// services with nothing drawn, the start-up fonts, the keys named, a layout
// loaded, then shown at a size with the caption fonts fitted to the keys.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "keyboard/Keyboard.h"
#include "placement/Dpi.h"
#include "platform/Types.h"
#include "theme/Theme.h"

namespace luma {

// Bold Tahoma 8 and 10, until the keys give their own sizes.
void SetStartFonts(Theme& theme);

// The model, its painting off until ShowKeyboard, theme in the start-up
// fonts and the keys named after US English, or after the first installed
// layout where US English is not installed.
// foregroundLayout is the layout of the foreground window's thread.
std::unique_ptr<Keyboard> CreateKeyboard(const KeyboardDeps& deps, Theme& theme,
                                         Hkl foregroundLayout);

// The built-in layout of that name and the caption fonts for its size.
bool LoadBuiltInLayout(Keyboard& keyboard, Theme& theme, const std::string& name,
                       std::int32_t fontDpi);

// Keys and caption fonts for a client area of this size. The fonts follow
// the Escape key's size, and only that: GDI makes points larger at a higher
// DPI on its own, which the fit takes back out.
void FitKeyboard(Keyboard& keyboard, Theme& theme, std::int32_t width, std::int32_t height,
                 std::int32_t fontDpi);

// Visible in a client area of this size: fitted, drawn once, painting on.
void ShowKeyboard(Keyboard& keyboard, Theme& theme, std::int32_t width, std::int32_t height,
                  std::int32_t fontDpi);

// What StartKeyboard starts: the foreground layout, the layout of the keys
// and the DPI the caption fonts are fitted at.
struct KeyboardStart {
  explicit KeyboardStart(Hkl foreground, std::int32_t dpi = kDesignDpi)
      : foregroundLayout(foreground), fontDpi(dpi) {}
  Hkl foregroundLayout;
  std::string layoutName = "Standard";
  // When set, this description is loaded instead of a built-in layout.
  std::string_view layoutText;
  std::int32_t fontDpi;
};
// Created, loaded, then shown at the layout's design size; null when the
// layout does not load.
std::unique_ptr<Keyboard> StartKeyboard(const KeyboardDeps& deps, Theme& theme,
                                        const KeyboardStart& start);

}  // namespace luma
