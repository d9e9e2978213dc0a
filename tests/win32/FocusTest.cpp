// ForceForegroundWindow against the real window manager, and the password
// field told by the focused control of the window in front.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "TestSupport.h"
#include "win32/Focus.h"

namespace luma::win32 {
namespace {

using test::Activate;
using test::PumpUntil;
using test::RecordingWindow;

DWORD LockTimeout() {
  DWORD ms = 0;
  SystemParametersInfoA(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &ms, 0);
  return ms;
}

void SetLockTimeout(DWORD ms) {
  SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
                        reinterpret_cast<PVOID>(static_cast<std::uintptr_t>(ms)), 0);
}

// Runs each test with a distinctive lock time-out and puts the old one back.
class ForceForegroundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    original_ = LockTimeout();
    SetLockTimeout(kTimeout);
    if (LockTimeout() != kTimeout) GTEST_SKIP() << "the lock time-out cannot be set here";
    ASSERT_TRUE(Activate(first_.Handle()));
  }
  void TearDown() override { SetLockTimeout(original_); }

  static constexpr DWORD kTimeout = 123457;
  DWORD original_ = 0;
  RecordingWindow first_{L"Lumatype focus first"};
  RecordingWindow second_{L"Lumatype focus second"};
};

TEST_F(ForceForegroundTest, BringsAnotherWindowForwardAndKeepsTheLockTimeout) {
  ShowWindow(second_.Handle(), SW_SHOWNOACTIVATE);
  ASSERT_NE(GetForegroundWindow(), second_.Handle());
  ForceForegroundWindow(second_.Handle(), true);
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == second_.Handle(); }));
  EXPECT_EQ(LockTimeout(), kTimeout);
}

TEST_F(ForceForegroundTest, ShowsAHiddenWindowFirst) {
  ASSERT_FALSE(IsWindowVisible(second_.Handle()));
  ForceForegroundWindow(second_.Handle(), true);
  EXPECT_TRUE(PumpUntil([&] {
    return IsWindowVisible(second_.Handle()) && GetForegroundWindow() == second_.Handle();
  }));
  EXPECT_EQ(LockTimeout(), kTimeout);
}

TEST_F(ForceForegroundTest, RestoresAMinimisedWindow) {
  ShowWindow(second_.Handle(), SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(second_.Handle()) != FALSE; }));
  ForceForegroundWindow(second_.Handle(), true);
  EXPECT_TRUE(PumpUntil(
      [&] { return !IsIconic(second_.Handle()) && GetForegroundWindow() == second_.Handle(); }));
  EXPECT_EQ(LockTimeout(), kTimeout);
}

TEST_F(ForceForegroundTest, IgnoresNullDeadAndForegroundWindows) {
  HWND dead = nullptr;
  {
    RecordingWindow gone(L"Lumatype focus gone");
    dead = gone.Handle();
  }
  ASSERT_FALSE(IsWindow(dead));
  ForceForegroundWindow(nullptr, true);
  ForceForegroundWindow(dead, true);
  ForceForegroundWindow(first_.Handle(), true);
  EXPECT_EQ(GetForegroundWindow(), first_.Handle());
  EXPECT_FALSE(IsWindowVisible(second_.Handle()));
  EXPECT_EQ(LockTimeout(), kTimeout);
}

TEST(FocusedControlTest, OnlyAFocusedEditWithThePasswordStyleIsAPasswordField) {
  // The rich edit's class comes with its library, which Wine has too.
  ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr);
  const struct {
    const char* name;
    const wchar_t* className;  // null: the focus stays on the window itself
    DWORD style;
    bool focus;
    bool password;
  } rows[] = {
      {"password edit", L"Edit", ES_PASSWORD, true, true},
      {"plain edit", L"Edit", ES_AUTOHSCROLL, true, false},
      {"password edit without the focus", L"Edit", ES_PASSWORD, false, false},
      {"rich edit with the password style", L"RichEdit20W", ES_PASSWORD, true, true},
      // The same bit in another class's style means something else.
      {"button with the bit set", L"Button", BS_LEFTTEXT, true, false},
      {"the window itself", nullptr, 0, true, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    RecordingWindow window(L"Lumatype password test");
    ASSERT_TRUE(Activate(window.Handle()));
    HWND control = window.Handle();
    if (r.className) {
      control = CreateWindowExW(0, r.className, L"", WS_CHILD | WS_VISIBLE | r.style, 10, 10, 200,
                                24, window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
      ASSERT_NE(control, nullptr);
    }
    HWND focus = r.focus ? control : nullptr;
    SetFocus(focus);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == focus; }));
    EXPECT_EQ(FocusedControlIsPassword(), r.password);
  }
}

}  // namespace
}  // namespace luma::win32
