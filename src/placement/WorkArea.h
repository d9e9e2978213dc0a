// Window arithmetic of the main window: placement on the work area, pulling
// the window back inside it, following a work area that changed size and
// snapping to its edges.
// Pure functions; the Win32 window supplies the rectangles and applies results.
// Distances and sizes in pixels are design pixels (96 DPI), scaled to the
// window's DPI where one is passed.
#pragma once

#include <cstdint>
#include <functional>

#include "placement/Dpi.h"
#include "platform/Types.h"

namespace luma {

// Outer window rectangle as the window reports it.
struct WindowBox {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  Rect ToRect() const { return {left, top, left + width, top + height}; }
  friend bool operator==(const WindowBox&, const WindowBox&) = default;
};

// Standing on the bottom edge of the work area, centred when it starts at x = 0.
Point DefaultPlacement(const Rect& workArea, std::int32_t width, std::int32_t height);

// The work area of the monitor a window rectangle is on (MonitorFromRect
// nearest, rcWork).
using WorkAreaLookup = std::function<Rect(const Rect& window)>;

// Left and Top that pull a normal-state window back inside its work area:
// right, bottom, left, top in that order, asking for the work area afresh
// before each test because each move may change the monitor. A window
// larger than the work area ends flush with its left and top edges.
Point FitToWorkArea(WindowBox window, const WorkAreaLookup& workAreaOf);

// The work area seen at the previous WM_WINDOWPOSCHANGING.
struct WorkAreaMemory {
  std::int32_t width = 0, height = 0;  // 0: none seen yet
  std::uintptr_t monitor = 0;
};

// When the primary work area changed size since the last position change
// and the window is still on the same monitor, a window that touched the old
// right (bottom) edge is moved onto the new one. Adjusts proposed, then
// remembers the new size and monitor.
void FollowWorkArea(WorkAreaMemory& memory, const Rect& primaryWorkArea,
                    std::uintptr_t currentMonitor, const WindowBox& current, Point& proposed);

// At 96 DPI; DecideWindowPos scales it to the window's DPI.
constexpr std::int32_t kSnapDistance = 10;

// Sticks a moved window to the edges of its monitor's work area. Only for a
// pure move (proposed size equals the current one) to a position other than
// (0, 0); right and bottom are tested last and win.
void SnapToWorkArea(Point& proposed, std::int32_t proposedWidth, std::int32_t proposedHeight,
                    const WindowBox& current, const Rect& workArea,
                    std::int32_t distance = kSnapDistance);

// A WM_WINDOWPOSCHANGING in portable terms: where the window is, what is
// proposed (x, y, width, height and the SWP_NOMOVE / SWP_NOSIZE flags), the
// primary work area, the window's monitor and its work area, the memory of
// the previous message, the window's DPI, and whether the proposal is a
// rectangle the system chose (the one suggested at a DPI change).
struct WindowPosRequest {
  WindowBox current;
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  bool noMove = false, noSize = false;
  Rect primaryWorkArea;
  std::uintptr_t monitor = 0;
  Rect monitorWorkArea;
  WorkAreaMemory memory;
  std::int32_t dpi = kDesignDpi;
  bool keepProposed = false;
};

// The position to write back, whether SWP_NOMOVE must go because the
// window moves after all, and the memory for the next message.
struct WindowPosAnswer {
  std::int32_t x = 0, y = 0;
  bool clearNoMove = false;
  WorkAreaMemory memory;
};

// Follows a work area that changed size, then snaps a move to the edges of
// the monitor's work area. A change that moves nothing (z-order, size only)
// is not snapped unless following the work area just moved it; x and y stay
// as proposed when the window neither moves nor was asked to. A proposal to
// keep is neither followed nor snapped: taking the system's rectangle must
// not start a tug of war with it. The memory learns the work area either way.
WindowPosAnswer DecideWindowPos(const WindowPosRequest& request);

}  // namespace luma
