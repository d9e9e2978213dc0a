// Which window gets the foreground back after a restore from the taskbar:
// ordinary visible windows only, never tool, non-activating, minimised or
// owned ones (unless they have a taskbar button of their own).
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "win32/RestoreTarget.h"

namespace luma::win32 {
namespace {

struct DestroyWindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, DestroyWindowDeleter>;

OwnedWindow MakeWindow(DWORD exStyle, DWORD style, HWND owner = nullptr) {
  return OwnedWindow(CreateWindowExW(exStyle, L"STATIC", L"restore target", style, 20, 20, 120, 80,
                                     owner, nullptr, GetModuleHandleW(nullptr), nullptr));
}

TEST(RestoreTargetTest, OnlyOrdinaryVisibleWindowsQualify) {
  constexpr DWORD kShown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  OwnedWindow self = MakeWindow(0, kShown);
  OwnedWindow visibleOwner = MakeWindow(0, kShown);
  OwnedWindow hiddenOwner = MakeWindow(0, WS_OVERLAPPEDWINDOW);
  struct Case {
    const char* name;
    OwnedWindow window;
    bool target;
  };
  Case cases[] = {
      {"plain", MakeWindow(0, kShown), true},
      {"hidden", MakeWindow(0, WS_OVERLAPPEDWINDOW), false},
      {"minimised", MakeWindow(0, kShown | WS_MINIMIZE), false},
      {"tool window", MakeWindow(WS_EX_TOOLWINDOW, kShown), false},
      {"non-activating", MakeWindow(WS_EX_NOACTIVATE, kShown), false},
      {"owned by a visible window", MakeWindow(0, kShown, visibleOwner.get()), false},
      {"owned, with a taskbar button", MakeWindow(WS_EX_APPWINDOW, kShown, visibleOwner.get()),
       true},
      {"owned by a hidden window", MakeWindow(0, kShown, hiddenOwner.get()), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.window);
    EXPECT_EQ(IsRestoreTarget(c.window.get(), self.get()), c.target);
  }
  EXPECT_FALSE(IsRestoreTarget(self.get(), self.get()));
}

// The window handed the foreground is the first one in Z order that
// qualifies: windows above it that do not qualify are passed over.
TEST(RestoreTargetTest, FindsTheFirstQualifyingWindowInZOrder) {
  constexpr DWORD kShown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
  OwnedWindow self = MakeWindow(0, kShown);
  OwnedWindow lower = MakeWindow(0, kShown);
  OwnedWindow upper = MakeWindow(0, kShown);
  OwnedWindow tool = MakeWindow(WS_EX_TOOLWINDOW, kShown);
  ASSERT_TRUE(self && lower && upper && tool);
  const auto raise = [](HWND window) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  for (HWND first : {upper.get(), lower.get()}) {
    // From the top: the tool window, this program's own, then first.
    raise(first == upper.get() ? lower.get() : upper.get());
    raise(first);
    raise(self.get());
    raise(tool.get());
    EXPECT_EQ(FindRestoreTarget(self.get()), first);
  }
}

}  // namespace
}  // namespace luma::win32
