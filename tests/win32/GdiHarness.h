// A keyboard over real GDI without a window, shared by the render test, the
// draw benchmark and the key-model tool.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "keyboard/Captions.h"
#include "keyboard/Key.h"
#include "keyboard/Keyboard.h"
#include "keyboard/KeyboardStart.h"
#include "platform/Canvas.h"
#include "platform/System.h"
#include "theme/Theme.h"
#include "win32/GdiCanvas.h"
#include "win32/TextBitmap.h"
#include "win32/Win32System.h"

namespace luma::win32 {

// The screen as a memory bitmap: the copy to the screen is a real BitBlt,
// and a test reads back what the window would show.
class MemoryScreen : public Screen {
 public:
  MemoryScreen() = default;
  MemoryScreen(int width, int height) { image.SetSize(width, height); }
  std::int32_t Width() const override { return image.Width(); }
  std::int32_t Height() const override { return image.Height(); }
  void CopyFrom(const Bitmap& source, const Rect& rect) override {
    const auto& gdi = dynamic_cast<const GdiBitmap&>(source);
    BitBlt(image.Dc(), rect.left, rect.top, rect.Width(), rect.Height(), gdi.Dc(), rect.left,
           rect.top, SRCCOPY);
  }
  GdiBitmap image;
};

// The first show releases held modifiers: keeps those key-ups away from the desktop.
class QuietKeySender : public KeySender {
 public:
  std::uint16_t ScanCode(std::uint16_t vk) override {
    return static_cast<std::uint16_t>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  }
  void Send(const KeyEvent&) override {}
  void GetKeyboardState(KeyStateArray& state) override { state.fill(0); }
};

// The look the main window starts with: the start-up fonts in scheme n.
inline void SetUpTheme(Theme& theme, int scheme, const ThemeColors& themeColors,
                       SystemColors& colors) {
  SetStartFonts(theme);
  ApplyColorScheme(scheme, theme, themeColors, colors);
}

// What a keyboard model draws and translates through: the system's layouts,
// colors and GDI, a memory bitmap for the screen, and no key event that
// leaves the process. The look is the start-up one, at the design size.
struct GdiKeyboardParts {
  GdiKeyboardParts() { SetUpTheme(theme, 1, themeColors, colors); }
  KeyboardDeps Deps() { return {bitmaps, screen, layouts, sender, theme, captions, &textBitmap}; }

  Win32SystemColors colors;
  ThemeColors themeColors = ComputeThemeColors(colors, QueryVisualStyle());
  Theme theme;
  GdiBitmapFactory bitmaps;
  MemoryScreen screen{441, 181};
  Win32KeyboardLayouts layouts;
  QuietKeySender sender;
  CaptionCache captions;
  TextBitmap textBitmap;
};

// The box around a key's first outline part.
inline Rect FirstPartBounds(const Key& key) {
  Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (const Point& p : key.Points()) {
    if (p == kOutlineSeparator) break;
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x);
    box.bottom = std::max(box.bottom, p.y);
  }
  return box;
}

}  // namespace luma::win32
