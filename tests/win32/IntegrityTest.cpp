// The integrity probe over the real token calls, on the test's own process:
// the same level as itself, so a window of its own in front brings no warning.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "foreground/ForegroundCheck.h"
#include "win32/Integrity.h"

namespace luma::win32 {
namespace {

TEST(IntegrityProbeTest, OwnProcessHasALevelAndItsWindowsTheSameAsItself) {
  DWORD level = 0;
  ASSERT_TRUE(ProcessIntegrityLevel(GetCurrentProcess(), level));
  EXPECT_GE(level, static_cast<DWORD>(SECURITY_MANDATORY_LOW_RID));
  EXPECT_LE(level, static_cast<DWORD>(SECURITY_MANDATORY_SYSTEM_RID));

  test::RecordingWindow window;
  ASSERT_NE(window.Handle(), nullptr);
  Win32IntegrityProbe probe;
  EXPECT_EQ(probe.CompareWithOwn(reinterpret_cast<WindowId>(window.Handle())),
            IntegrityOrder::kEqual);
  // A handle of no window has no process to read: it counts as unknown.
  EXPECT_EQ(probe.CompareWithOwn(0x7FFF0), IntegrityOrder::kUnknown);
}

TEST(IntegrityProbeTest, OwnWindowInFrontBringsNoWarning) {
  test::RecordingWindow window;
  ASSERT_TRUE(test::Activate(window.Handle()));
  Win32IntegrityProbe probe;
  ASSERT_EQ(probe.ForegroundWindow(), reinterpret_cast<WindowId>(window.Handle()));
  std::vector<bool> shown;
  ForegroundCheck check(probe, [&](bool cannotType) { shown.push_back(cannotType); });
  check.Update();
  EXPECT_FALSE(check.CannotType());
  EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace luma::win32
