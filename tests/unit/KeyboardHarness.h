// A keyboard model over the recording fakes, for the model, key and loader tests.
#pragma once

#include <string>
#include <vector>

#include "Fakes.h"
#include "keyboard/Keyboard.h"
#include "theme/Theme.h"

namespace luma::test {

// What a keyboard model works with: recording fakes of the system and the
// objects the program owns (theme, caption cache).
struct KeyboardParts {
  fakes::RecordingBitmapFactory bitmaps;
  fakes::FakeScreen screen;
  fakes::FakeKeyboardLayouts layouts;
  fakes::FakeKeySender sender;
  Theme theme;
  CaptionCache captions;

  KeyboardDeps Deps(Bitmap* textBitmap = nullptr) {
    return {bitmaps, screen, layouts, sender, theme, captions, textBitmap};
  }
};

struct KeyboardHarness : KeyboardParts {
  Keyboard kb;

  explicit KeyboardHarness(Hkl foreground = kUsEnglishHkl) : kb(Deps(), foreground) {}

  fakes::RecordingBitmap& Base() { return *bitmaps.created.at(0); }
  fakes::RecordingBitmap& Work() { return *bitmaps.created.at(1); }
  void ForgetCalls() {
    Base().calls.clear();
    Work().calls.clear();
    screen.copies.clear();
    sender.sent.clear();
  }
};

// Four corners of an axis-parallel rectangle in the built-in layout's order:
// bottom-left, bottom-right, top-right, top-left.
inline std::vector<Point> Corners(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                  std::int32_t y2) {
  return {{x1, y2}, {x2, y2}, {x2, y1}, {x1, y1}};
}

inline std::string KeyLine(int vk, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                           std::int32_t y2) {
  auto p = [](std::int32_t x, std::int32_t y) {
    return std::to_string(x) + "," + std::to_string(y);
  };
  return std::to_string(vk) + "=" + p(x1, y2) + ";" + p(x2, y2) + ";" + p(x2, y1) + ";" + p(x1, y1);
}

}  // namespace luma::test
