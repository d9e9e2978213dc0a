// Drawing cost of the real keyboard model over GDI memory bitmaps, the
// standard and the full keyboard, each at its design size and two larger
// window sizes: a full redraw that rebuilds the base image, a redraw from the
// existing base image, one hover change from a key to its neighbour, and one
// onto and off a two-part key (the full keyboard's Enter) from its neighbour,
// and a step of the scan's highlight from a key to its neighbour and from a
// row of keys, tinted, to the next.
// Medians of many runs, timed with the performance counter; ratios are taken
// within one run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "GdiHarness.h"
#include "keyboard/Keyboard.h"
#include "keyboard/KeyboardStart.h"
#include "scan/ScanModel.h"
#include "scan/ScanPicture.h"
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

  const Stopwatch watch;
  std::printf("%-9s %-11s %10s %10s %10s %10s %10s %10s %10s %10s %10s %10s\n", "layout", "size",
              "full ms", "no-base ms", "hover ms", "hover/full", "key-step", "/hover", "row-step",
              "/hover", "2-part ms", "2-part/full");
  struct Size2 {
    int width, height;
  };
  struct Layout {
    const char* name;
    std::vector<Size2> sizes;
  };
  const Layout layouts[] = {
      {"Standard", {{441, 181}, {1280, 525}, {2560, 1050}}},
      {"Full", {{671, 181}, {1342, 362}, {2560, 690}}},
  };
  for (const Layout& layout : layouts) {
    GdiKeyboardParts parts;
    Theme& theme = parts.theme;
    MemoryScreen& screen = parts.screen;
    KeyboardStart start(FromHkl(GetKeyboardLayout(0)));
    start.layoutName = layout.name;
    const std::unique_ptr<Keyboard> started = StartKeyboard(parts.Deps(), theme, start);
    if (!started) {
      std::fprintf(stderr, "the built-in layout %s did not load\n", layout.name);
      return 1;
    }
    Keyboard& keyboard = *started;
    const Key& enter = *keyboard.KeyFor(13);
    const bool twoPart =
        std::count(enter.Points().begin(), enter.Points().end(), kOutlineSeparator) > 0;

    for (const Size2 size : layout.sizes) {
      screen.image.SetSize(size.width, size.height);
      FitKeyboard(keyboard, theme, size.width, size.height, kDesignDpi);
      keyboard.Picture().Redraw(true);

      const double full = watch.MedianMs(fullRuns, [&] { keyboard.Picture().Redraw(true); });
      const double noBase = watch.MedianMs(fullRuns, [&] { keyboard.Picture().Redraw(false); });

      // Every step moves the hover from one key to the other.
      const auto alternate = [&](int firstVk, int secondVk) {
        const Point first = Centre(*keyboard.KeyFor(firstVk));
        const Point second = Centre(*keyboard.KeyFor(secondVk));
        bool onFirst = false;
        keyboard.TrackPointer(second.x, second.y);
        const double ms = watch.MedianMs(hoverRuns, [&] {
          onFirst = !onFirst;
          const Point p = onFirst ? first : second;
          keyboard.TrackPointer(p.x, p.y);
        });
        keyboard.ClearHot(true);
        return ms;
      };
      // F1 and F2 are neighbours, and so are the quote key and Enter.
      const double hover = alternate(112, 113);
      char label[32];
      std::snprintf(label, sizeof(label), "%dx%d", size.width, size.height);
      std::printf("%-9s %-11s %10.3f %10.3f %10.3f %10.3f", layout.name, label, full, noBase, hover,
                  hover / full);

      // The scan's highlight stepping to and fro, each step the old and the
      // new highlight repainted and copied: between F1 and F2, and between
      // two rows of the main keys, tinted.
      ScanPicture scan(keyboard, parts.colors);
      const auto steps = [&](const ScanHighlight& first, const ScanHighlight& second) {
        ScanHighlight shown = second;
        scan.HighlightChanged({}, shown);
        const double ms = watch.MedianMs(hoverRuns, [&] {
          const ScanHighlight next = shown == first ? second : first;
          scan.HighlightChanged(shown, next);
          shown = next;
        });
        scan.HighlightChanged(shown, {});
        return ms;
      };
      const double keyStep =
          steps({ScanHighlight::Kind::Item, FirstPartBounds(*keyboard.KeyFor(112)), {}},
                {ScanHighlight::Kind::Item, FirstPartBounds(*keyboard.KeyFor(113)), {}});
      const std::vector<ScanNode> top = BuildScanNodes({keyboard, {}, {}});
      const std::vector<ScanNode>& rows =
          top.front().kind == ScanNode::Kind::Group ? top.front().children : top;
      const double rowStep = steps({ScanHighlight::Kind::Row, rows.at(1).area, {}},
                                   {ScanHighlight::Kind::Row, rows.at(2).area, {}});
      std::printf(" %10.3f %10.3f %10.3f %10.3f", keyStep, keyStep / hover, rowStep,
                  rowStep / hover);
      if (twoPart) {
        const double enterHover = alternate(222, 13);
        std::printf(" %10.3f %10.3f", enterHover, enterHover / full);
      }
      std::printf("\n");
    }
  }
  return 0;
}
