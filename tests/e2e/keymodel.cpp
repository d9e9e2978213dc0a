// The program's own keyboard model, built the way the main window builds it,
// under the keyboard layout of the foreground window: prints, for every
// character key, the outline it is drawn in (design coordinates of the
// built-in layout) and the character it shows, plain and with Shift down.
// The end-to-end layout tests compare that with what Notepad receives when
// the real program's keys are clicked. It also prints where every key of
// both built-in layouts is drawn, which is where the end-to-end tests click.
//
// With a file name, it also saves the keyboard's picture at the design size
// there (a BMP), drawn as the program draws it, for a comparison with the
// program's window.
//
// Output: "hkl=XXXXXXXX", then one line per character key of "Standard":
//   key VK PLACE X1 Y1 X2 Y2 PLAIN SHIFTED
// with the characters as hexadecimal UTF-16 units (0020: shows nothing);
// then for each built-in layout "layout NAME WIDTH HEIGHT" and one line per
// key with an outline, the box of each part of the outline it is hit in:
//   outline VK X1 Y1 X2 Y2 [X1 Y1 X2 Y2]
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "GdiHarness.h"
#include "keyboard/Keyboard.h"
#include "keyboard/KeyboardStart.h"
#include "keys/KeyKinds.h"
#include "keys/VirtualKeys.h"
#include "theme/Theme.h"
#include "win32/Dpi.h"
#include "win32/GdiCanvas.h"
#include "win32/Win32System.h"

using namespace luma;
using namespace luma::win32;

namespace {

// The box of each part of a key's outline, in the model's pixels.
std::vector<Rect> PartBounds(const Key& key) {
  std::vector<Rect> parts;
  bool newPart = true;
  for (const Point& p : key.Points()) {
    if (p == kOutlineSeparator) {
      newPart = true;
      continue;
    }
    if (newPart) parts.push_back({INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN});
    newPart = false;
    Rect& box = parts.back();
    box.left = std::min(box.left, p.x);
    box.top = std::min(box.top, p.y);
    box.right = std::max(box.right, p.x);
    box.bottom = std::max(box.bottom, p.y);
  }
  return parts;
}

// Shown at its design size, the model's pixels are design coordinates.
void PrintOutlines(const Keyboard& keyboard, const char* name) {
  std::printf("layout %s %d %d\n", name, static_cast<int>(keyboard.Width()),
              static_cast<int>(keyboard.Height()));
  for (int vk = 1; vk <= 255; ++vk) {
    const Key* key = keyboard.KeyFor(vk);
    if (!key || !key->OutlineOwner() || key->OutlineOwner()->PointCount() < 2) continue;
    std::printf("outline %d", vk);
    for (const Rect& box : PartBounds(*key->OutlineOwner()))
      std::printf(" %d %d %d %d", box.left, box.top, box.right, box.bottom);
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  GdiKeyboardParts parts;
  Theme& theme = parts.theme;
  MemoryScreen& screen = parts.screen;
  Win32ForegroundLayout foreground;
  const Hkl hkl = foreground.Read();
  // The main window's start: model, names, built-in layout, first show.
  const std::unique_ptr<Keyboard> started =
      StartKeyboard(parts.Deps(), theme, KeyboardStart(hkl, static_cast<int>(FontDpi())));
  if (!started) {
    std::fprintf(stderr, "the built-in layout did not load\n");
    return 1;
  }
  Keyboard& keyboard = *started;
  if (argc > 1) {
    const std::string path = argv[1];
    if (!screen.image.SaveBmp(std::wstring(path.begin(), path.end()))) {
      std::fprintf(stderr, "cannot save %s\n", argv[1]);
      return 1;
    }
  }

  std::printf("hkl=%08lX\n", static_cast<unsigned long>(hkl & 0xFFFFFFFFu));
  struct Line {
    int vk, place;
    Rect box;
    char16_t plain, shifted;
  };
  Line lines[256] = {};
  for (int vk = 1; vk <= 255; ++vk) {
    const Key* key = keyboard.KeyFor(vk);
    if (!IsCharKey(vk) || vk == kVkSpace || !key || !key->OutlineOwner() ||
        key->OutlineOwner()->PointCount() < 2)
      continue;
    lines[vk] = {vk, key->OutlineOwner()->Code(), FirstPartBounds(*key->OutlineOwner()),
                 keyboard.Captions().CharLabelFor(vk), 0};
  }
  // Shift down in the model, as the latched key or a right click puts it.
  keyboard.KeyFor(kVkLeftShift)->SetDown(true);
  for (Line& line : lines)
    if (line.vk) line.shifted = keyboard.Captions().CharLabelFor(line.vk);
  keyboard.KeyFor(kVkLeftShift)->SetDown(false);

  for (const Line& line : lines)
    if (line.vk)
      std::printf("key %d %d %d %d %d %d %04X %04X\n", line.vk, line.place, line.box.left,
                  line.box.top, line.box.right, line.box.bottom, line.plain, line.shifted);
  PrintOutlines(keyboard, "Standard");

  // "Full" in parts of its own: its picture is wider than Standard's screen.
  GdiKeyboardParts fullParts;
  KeyboardStart fullStart(hkl, static_cast<int>(FontDpi()));
  fullStart.layoutName = "Full";
  const std::unique_ptr<Keyboard> full =
      StartKeyboard(fullParts.Deps(), fullParts.theme, fullStart);
  if (!full) {
    std::fprintf(stderr, "the built-in layout Full did not load\n");
    return 1;
  }
  PrintOutlines(*full, "Full");
  return 0;
}
