// Drawing cost of the real keyboard model over GDI memory bitmaps, at the
// design size and two larger window sizes: a full redraw that rebuilds the
// base image, a redraw from the existing base image, and one hover change
// from a key to its neighbour. Medians of many runs, timed with the
// performance counter; ratios are taken within one run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "GdiHarness.h"
#include "keyboard/Keyboard.h"
#include "keyboard/KeyboardStart.h"
#include "theme/Theme.h"
#include "win32/GdiCanvas.h"
#include "win32/Win32System.h"

namespace {

using namespace luma;
using namespace luma::win32;

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceFrequency(&frequency_); }
  template <class F>
  double MedianMs(int runs, F&& work) const {
    std::vector<double> ms;
    ms.reserve(static_cast<std::size_t>(runs));
    for (int i = 0; i < runs; ++i) {
      LARGE_INTEGER start, end;
      QueryPerformanceCounter(&start);
      work();
      GdiFlush();  // batched GDI calls count towards the work that queued them
      QueryPerformanceCounter(&end);
      ms.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                   static_cast<double>(frequency_.QuadPart));
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
  }

 private:
  LARGE_INTEGER frequency_{};
};

// Centre of a key's first outline part.
Point Centre(const Key& key) {
  const Rect box = FirstPartBounds(key);
  return {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
}

}  // namespace

int main(int argc, char** argv) {
  const int scale = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const int fullRuns = 31 * scale, hoverRuns = 201 * scale;

  GdiKeyboardParts parts;
  Theme& theme = parts.theme;
  MemoryScreen& screen = parts.screen;
  const std::unique_ptr<Keyboard> started =
      StartKeyboard(parts.Deps(), theme, KeyboardStart(FromHkl(GetKeyboardLayout(0))));
  if (!started) {
    std::fprintf(stderr, "the built-in layout did not load\n");
    return 1;
  }
  Keyboard& keyboard = *started;

  const Stopwatch watch;
  std::printf("%-11s %12s %12s %12s %12s %12s\n", "size", "full ms", "no-base ms", "hover ms",
              "hover/full", "no-base/full");
  struct Size2 {
    int width, height;
  };
  for (const Size2 size : {Size2{441, 181}, Size2{1280, 525}, Size2{2560, 1050}}) {
    screen.image.SetSize(size.width, size.height);
    FitKeyboard(keyboard, theme, size.width, size.height, kDesignDpi);
    keyboard.Redraw(true);

    const double full = watch.MedianMs(fullRuns, [&] { keyboard.Redraw(true); });
    const double noBase = watch.MedianMs(fullRuns, [&] { keyboard.Redraw(false); });

    // F1 and F2 are neighbours; every step moves the hover from one to the other.
    const Point f1 = Centre(*keyboard.KeyFor(112)), f2 = Centre(*keyboard.KeyFor(113));
    bool onFirst = false;
    keyboard.TrackPointer(f2.x, f2.y);
    const double hover = watch.MedianMs(hoverRuns, [&] {
      onFirst = !onFirst;
      const Point p = onFirst ? f1 : f2;
      keyboard.TrackPointer(p.x, p.y);
    });
    keyboard.ClearHot(true);

    char label[32];
    std::snprintf(label, sizeof(label), "%dx%d", size.width, size.height);
    std::printf("%-11s %12.3f %12.3f %12.3f %12.3f %12.3f\n", label, full, noBase, hover,
                hover / full, noBase / full);
  }
  return 0;
}
