#include "placement/WorkArea.h"

#include <algorithm>

namespace luma {

namespace {

std::int64_t Distance(std::int64_t a, std::int64_t b) { return a > b ? a - b : b - a; }

}  // namespace

Point DefaultPlacement(const Rect& workArea, std::int32_t width, std::int32_t height) {
  // C++ division truncates toward zero, as the placement rule wants for a
  // window wider than the work area's right coordinate.
  return {(workArea.right - width) / 2, workArea.bottom - height};
}

Point FitToWorkArea(WindowBox window, const WorkAreaLookup& workAreaOf) {
  Rect wa = workAreaOf(window.ToRect());
  if (window.left + window.width > wa.right) window.left = wa.right - window.width;
  wa = workAreaOf(window.ToRect());
  if (window.top + window.height > wa.bottom) window.top = wa.bottom - window.height;
  wa = workAreaOf(window.ToRect());
  if (window.left < wa.left) window.left = wa.left;
  wa = workAreaOf(window.ToRect());
  if (window.top < wa.top) window.top = wa.top;
  return {window.left, window.top};
}

void FollowWorkArea(WorkAreaMemory& memory, const Rect& primaryWorkArea,
                    std::uintptr_t currentMonitor, const WindowBox& current, Point& proposed) {
  const std::int32_t w = primaryWorkArea.Width();
  const std::int32_t h = primaryWorkArea.Height();
  if (memory.width != 0 && memory.height != 0 && currentMonitor == memory.monitor &&
      (w != memory.width || h != memory.height)) {
    if (current.left + current.width == memory.width) proposed.x = w - current.width;
    if (current.top + current.height == memory.height) proposed.y = h - current.height;
  }
  memory.width = w;
  memory.height = h;
  memory.monitor = currentMonitor;
}

void SnapToWorkArea(Point& proposed, std::int32_t proposedWidth, std::int32_t proposedHeight,
                    const WindowBox& current, const Rect& workArea, std::int32_t distance) {
  if (proposedWidth != current.width || proposedHeight != current.height) return;
  if (proposed.x == 0 && proposed.y == 0) return;
  const std::int64_t d = distance;
  const std::int64_t width = current.width, height = current.height;
  if (Distance(proposed.x, workArea.left) < d) proposed.x = workArea.left;
  if (Distance(proposed.y, workArea.top) < d) proposed.y = workArea.top;
  if (Distance(proposed.x + width, workArea.right) < d) proposed.x = workArea.right - current.width;
  if (Distance(proposed.y + height, workArea.bottom) < d)
    proposed.y = workArea.bottom - current.height;
}

WindowPosAnswer DecideWindowPos(const WindowPosRequest& request) {
  const WindowBox& current = request.current;
  const Point now{current.left, current.top};
  const bool moves = !request.noMove;
  Point proposed = moves ? Point{request.x, request.y} : now;
  const std::int32_t width = request.noSize ? current.width : request.width;
  const std::int32_t height = request.noSize ? current.height : request.height;

  WindowPosAnswer answer{request.x, request.y, false, request.memory};
  const Point before = proposed;
  FollowWorkArea(answer.memory, request.primaryWorkArea, request.monitor, current, proposed);
  if (request.keepProposed) return answer;
  if (moves || !(proposed == before))
    SnapToWorkArea(proposed, width, height, current, request.monitorWorkArea,
                   ScaleForDpi(kSnapDistance, request.dpi));
  if (!(proposed == now) || moves) {
    answer.x = proposed.x;
    answer.y = proposed.y;
    answer.clearNoMove = request.noMove && !(proposed == now);
  }
  return answer;
}

}  // namespace luma
