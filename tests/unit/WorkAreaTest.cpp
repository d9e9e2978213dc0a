#include <gtest/gtest.h>

#include <vector>

#include "placement/SliderRect.h"
#include "placement/WorkArea.h"

namespace luma {
namespace {

constexpr Rect kWorkArea{0, 0, 1920, 1040};

TEST(WorkAreaPlacement, StandsOnBottomEdgeCentred) {
  EXPECT_EQ(DefaultPlacement(kWorkArea, 457, 300), (Point{731, 740}));  // 1463 / 2 truncates
  EXPECT_EQ(DefaultPlacement(kWorkArea, 456, 300), (Point{732, 740}));
  // Wider than the work area's right coordinate: truncation toward zero.
  EXPECT_EQ(DefaultPlacement({0, 0, 100, 500}, 105, 50), (Point{-2, 450}));
  // A work area that does not begin at 0 is not centred on itself.
  EXPECT_EQ(DefaultPlacement({1920, 0, 3840, 1000}, 400, 300), (Point{1720, 700}));
}

TEST(WorkAreaFit, PullsBackRightAndBottomThenLeftAndTop) {
  const auto one = [](const Rect&) { return kWorkArea; };
  struct Row {
    WindowBox window;
    Point expected;
  } rows[] = {
      {{100, 100, 400, 300}, {100, 100}},     // inside: untouched
      {{1800, 1000, 400, 300}, {1520, 740}},  // off right and bottom
      {{-50, -20, 400, 300}, {0, 0}},         // off left and top
      {{1520, 740, 400, 300}, {1520, 740}},   // flush is inside
      {{300, 300, 2000, 1200}, {0, 0}},       // larger than the work area: flush left and top
  };
  for (const auto& r : rows) EXPECT_EQ(FitToWorkArea(r.window, one), r.expected);
}

TEST(WorkAreaFit, ReadsTheWorkAreaAfreshBeforeEachTest) {
  // Monitor A on the left, monitor B on the right with a shorter work area;
  // a window belongs to the monitor under its centre.
  const Rect a{0, 0, 1000, 1000}, b{1000, 0, 2000, 500};
  std::vector<Rect> asked;
  const auto lookup = [&](const Rect& w) {
    asked.push_back(w);
    return (w.left + w.right) / 2 < 1000 ? a : b;
  };
  // Rule 1 on B moves the window onto A, whose bottom it fits; rule 3 on A
  // moves it back onto B, whose top it fits. A stale B would give (1000, 200).
  EXPECT_EQ(FitToWorkArea({1500, 600, 2100, 300}, lookup), (Point{0, 600}));
  ASSERT_EQ(asked.size(), 4u);
  EXPECT_EQ(asked[0], (Rect{1500, 600, 3600, 900}));
  EXPECT_EQ(asked[1], (Rect{-100, 600, 2000, 900}));
  EXPECT_EQ(asked[3], (Rect{0, 600, 2100, 900}));
}

TEST(WorkAreaSnap, StrictlyWithinTenPixelsOfAnEdge) {
  const WindowBox current{500, 500, 400, 300};
  struct Row {
    Point proposed;
    Point expected;
  } rows[] = {
      {{9, 200}, {0, 200}},       {{10, 200}, {10, 200}},     {{-9, 200}, {0, 200}},
      {{-10, 200}, {-10, 200}},   {{200, 9}, {200, 0}},       {{200, 10}, {200, 10}},
      {{1511, 200}, {1520, 200}}, {{1510, 200}, {1510, 200}}, {{1529, 200}, {1520, 200}},
      {{1530, 200}, {1530, 200}}, {{200, 731}, {200, 740}},   {{200, 730}, {200, 730}},
      {{200, 749}, {200, 740}},   {{5, 735}, {0, 740}},       {{1515, 3}, {1520, 0}},
  };
  for (const auto& r : rows) {
    Point p = r.proposed;
    SnapToWorkArea(p, 400, 300, current, kWorkArea);
    EXPECT_EQ(p, r.expected) << r.proposed.x << "," << r.proposed.y;
  }
}

TEST(WorkAreaSnap, OnlyForAPureMoveAwayFromTheOrigin) {
  const WindowBox current{500, 500, 400, 300};
  const Rect offset{5, 5, 1920, 1040};
  Point p{0, 0};
  SnapToWorkArea(p, 400, 300, current, offset);
  EXPECT_EQ(p, (Point{0, 0}));
  p = {0, 1};
  SnapToWorkArea(p, 400, 300, current, offset);
  EXPECT_EQ(p, (Point{5, 5}));
  p = {8, 8};
  SnapToWorkArea(p, 401, 300, current, offset);  // a resize
  EXPECT_EQ(p, (Point{8, 8}));
  SnapToWorkArea(p, 400, 299, current, offset);
  EXPECT_EQ(p, (Point{8, 8}));
}

TEST(WorkAreaSnap, RightAndBottomWinInANarrowWorkArea) {
  const WindowBox current{0, 0, 400, 300};
  Point p{3, 4};
  SnapToWorkArea(p, 400, 300, current, {0, 0, 405, 306});
  EXPECT_EQ(p, (Point{5, 6}));
}

TEST(WorkAreaSnap, UsesTheMonitorsOwnWorkArea) {
  const WindowBox current{2000, 100, 400, 300};
  Point p{1925, 775};
  SnapToWorkArea(p, 400, 300, current, {1920, 0, 3840, 1080});
  EXPECT_EQ(p, (Point{1920, 780}));
}

TEST(WorkAreaFollow, WindowOnTheOldEdgeMovesToTheNewOne) {
  struct Row {
    const char* name;
    Rect newArea;
    WindowBox window;
    Point proposed, expected;
  } rows[] = {
      {"bottom touched, 40 px lost",
       {0, 0, 1920, 1000},
       {500, 740, 400, 300},
       {500, 740},
       {500, 700}},
      {"bottom not touched", {0, 0, 1920, 1000}, {500, 739, 400, 300}, {500, 739}, {500, 739}},
      {"bottom touched, area grew",
       {0, 0, 1920, 1080},
       {500, 740, 400, 300},
       {500, 740},
       {500, 780}},
      {"right touched", {0, 0, 1860, 1040}, {1520, 100, 400, 300}, {1520, 100}, {1460, 100}},
      {"right not touched", {0, 0, 1860, 1040}, {1519, 100, 400, 300}, {1519, 100}, {1519, 100}},
      {"corner touched, both shrank",
       {0, 0, 1860, 1000},
       {1520, 740, 400, 300},
       {1520, 740},
       {1460, 700}},
      {"same size", {0, 0, 1920, 1040}, {1520, 740, 400, 300}, {1, 2}, {1, 2}},
      // Only the touched axis follows; the other keeps the proposal.
      {"bottom touched during a move",
       {0, 0, 1920, 1000},
       {500, 740, 400, 300},
       {650, 720},
       {650, 700}},
  };
  for (const auto& r : rows) {
    WorkAreaMemory memory{1920, 1040, 7};
    Point p = r.proposed;
    FollowWorkArea(memory, r.newArea, 7, r.window, p);
    EXPECT_EQ(p, r.expected) << r.name;
    EXPECT_EQ(memory.width, r.newArea.Width()) << r.name;
    EXPECT_EQ(memory.height, r.newArea.Height()) << r.name;
  }
}

TEST(WorkAreaFollow, NothingMovesOnAMonitorChangeOrBeforeTheFirstMessage) {
  const WindowBox window{500, 740, 400, 300};
  WorkAreaMemory memory{1920, 1040, 7};
  Point p{500, 740};
  FollowWorkArea(memory, {0, 0, 1920, 1000}, 8, window, p);
  EXPECT_EQ(p, (Point{500, 740}));
  EXPECT_EQ(memory.monitor, 8u);
  EXPECT_EQ(memory.height, 1000);

  WorkAreaMemory fresh;
  FollowWorkArea(fresh, {0, 0, 1920, 1000}, 7, window, p);
  EXPECT_EQ(p, (Point{500, 740}));
  EXPECT_EQ(fresh.width, 1920);
  EXPECT_EQ(fresh.height, 1000);
  EXPECT_EQ(fresh.monitor, 7u);
}

TEST(WorkAreaWindowPos, FollowsThenSnapsAndSaysWhenTheWindowMovesAfterAll) {
  const WorkAreaMemory seen{1920, 1040, 7};
  const Rect shrunk{0, 0, 1920, 1000};
  struct Row {
    const char* what;
    WindowBox current;
    std::int32_t x, y, width, height;
    bool noMove, noSize;
    Rect primary;
    std::uintptr_t monitor;
    Point expected;
    bool clearNoMove;
  } rows[] = {
      {"a move near the left edge snaps",
       {500, 500, 400, 300},
       6,
       200,
       0,
       0,
       false,
       true,
       kWorkArea,
       7,
       {0, 200},
       false},
      {"a move in the open stays",
       {500, 500, 400, 300},
       300,
       200,
       0,
       0,
       false,
       true,
       kWorkArea,
       7,
       {300, 200},
       false},
      {"a move with a resize is not snapped",
       {500, 500, 400, 300},
       6,
       200,
       420,
       300,
       false,
       false,
       kWorkArea,
       7,
       {6, 200},
       false},
      {"a move onto the spot it is on",
       {500, 500, 400, 300},
       500,
       500,
       0,
       0,
       false,
       true,
       kWorkArea,
       7,
       {500, 500},
       false},
      {"a resize alone leaves x and y as they came",
       {500, 500, 400, 300},
       0,
       0,
       420,
       300,
       true,
       false,
       kWorkArea,
       7,
       {0, 0},
       false},
      {"z-order only, on the bottom edge of a shrunk work area",
       {500, 740, 400, 300},
       0,
       0,
       0,
       0,
       true,
       true,
       shrunk,
       7,
       {500, 700},
       true},
      {"followed, then snapped to the left edge as well",
       {5, 740, 400, 300},
       0,
       0,
       0,
       0,
       true,
       true,
       shrunk,
       7,
       {0, 700},
       true},
      {"on another monitor nothing follows",
       {500, 740, 400, 300},
       0,
       0,
       0,
       0,
       true,
       true,
       shrunk,
       8,
       {0, 0},
       false},
      {"a move while the work area shrank",
       {500, 740, 400, 300},
       650,
       720,
       0,
       0,
       false,
       true,
       shrunk,
       7,
       {650, 700},
       false},
  };
  for (const auto& r : rows) {
    WindowPosRequest request{r.current, r.x,       r.y,       r.width, r.height, r.noMove,
                             r.noSize,  r.primary, r.monitor, shrunk,  seen};
    const WindowPosAnswer answer = DecideWindowPos(request);
    EXPECT_EQ((Point{answer.x, answer.y}), r.expected) << r.what;
    EXPECT_EQ(answer.clearNoMove, r.clearNoMove) << r.what;
    EXPECT_EQ(answer.memory.height, r.primary.Height()) << r.what;
    EXPECT_EQ(answer.memory.monitor, r.monitor) << r.what;
  }
}

TEST(WorkAreaWindowPos, TheFirstMessageOnlyRemembersTheWorkArea) {
  const WindowPosAnswer answer = DecideWindowPos(
      {{500, 740, 400, 300}, 0, 0, 0, 0, true, true, {0, 0, 1920, 1000}, 7, kWorkArea, {}});
  EXPECT_EQ((Point{answer.x, answer.y}), (Point{0, 0}));
  EXPECT_FALSE(answer.clearNoMove);
  EXPECT_EQ(answer.memory.width, 1920);
  EXPECT_EQ(answer.memory.height, 1000);
  EXPECT_EQ(answer.memory.monitor, 7u);
}

TEST(WorkAreaSlider, BottomRightUnderTheRightShift) {
  EXPECT_EQ(SliderRect(441, 181, 60, 30), (Rect{381, 157, 441, 181}));
  EXPECT_EQ(SliderRect(790, 271, 108, 45), (Rect{682, 247, 790, 271}));
  EXPECT_EQ(SliderRect(441, 90, 60, 15), (Rect{381, 75, 441, 90}));
  EXPECT_EQ(SliderRect(100, 50, -7, -3), (Rect{100, 50, 100, 50}));
}

}  // namespace
}  // namespace luma
