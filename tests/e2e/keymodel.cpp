// The program's own keyboard model, built the way the main window builds it,
// under the keyboard layout of the foreground window: prints, for every
// character key, the outline it is drawn in (design coordinates of the
// built-in layout) and the character it shows, plain and with Shift down.
// The end-to-end layout tests compare that with what Notepad receives when
// the real program's keys are clicked.
//
// With a file name, it also saves the keyboard's picture at the design size
// there (a BMP), drawn as the program draws it, for a comparison with the
// program's window.
//
// Output: "hkl=XXXXXXXX", then one line per character key:
//   key VK PLACE X1 Y1 X2 Y2 PLAIN SHIFTED
// with the characters as hexadecimal UTF-16 units (0020: shows nothing).
#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

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
                 keyboard.CharLabelFor(vk), 0};
  }
  // Shift down in the model, as the latched key or a right click puts it.
  keyboard.KeyFor(kVkLeftShift)->SetDown(true);
  for (Line& line : lines)
    if (line.vk) line.shifted = keyboard.CharLabelFor(line.vk);
  keyboard.KeyFor(kVkLeftShift)->SetDown(false);

  for (const Line& line : lines)
    if (line.vk)
      std::printf("key %d %d %d %d %d %d %04X %04X\n", line.vk, line.place, line.box.left,
                  line.box.top, line.box.right, line.box.bottom, line.plain, line.shifted);
  return 0;
}
