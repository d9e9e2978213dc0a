// The system services against the real API: injected keys arriving at a
// window of the test, keyboard layouts, colors, timers, cursor.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>

#include "EmulatedSuites.h"
#include "TestSupport.h"
#include "keys/KeyInput.h"
#include "win32/Win32System.h"

namespace luma::win32 {
namespace {

using test::Activate;
using test::Message;
using test::PumpUntil;
using test::RecordingWindow;

constexpr LPARAM kExtendedBit = LPARAM{1} << 24;
constexpr LPARAM kPreviousStateBit = LPARAM{1} << 30;
constexpr LPARAM kTransitionBit = LPARAM{1} << 31;

unsigned ScanOf(LPARAM lParam) { return (static_cast<DWORD>(lParam) >> 16) & 0xFF; }

struct InjectionCase {
  const char* name;
  std::uint16_t vk;
  bool extended;
  UINT downMessage, upMessage;
  WPARAM reported;  // window messages carry the generic code for left/right keys
};

class KeyInjectionTest : public ::testing::TestWithParam<InjectionCase> {};
LUMA_EMULATED_SUITE(KeyInjectionTest);

TEST_P(KeyInjectionTest, OneKeyDownAndUpArriveWithTheirFlags) {
  const InjectionCase& c = GetParam();
  RecordingWindow window;
  ASSERT_TRUE(Activate(window.Handle())) << "the test window did not get the focus";

  Win32KeySender sender;
  SendKeyInput(sender, c.vk, false, c.extended);
  ASSERT_TRUE(PumpUntil([&] { return !window.keys.empty(); }));
  SendKeyInput(sender, c.vk, true, c.extended);
  ASSERT_TRUE(PumpUntil([&] { return window.keys.size() >= 2; }));

  ASSERT_EQ(window.keys.size(), 2u);
  const Message& down = window.keys[0];
  const Message& up = window.keys[1];
  EXPECT_EQ(down.message, c.downMessage);
  // Wine sometimes reports the release of a lone Alt as WM_KEYUP: it re-reads
  // the modifiers from the X server, which never saw the injected Alt.
  if (c.upMessage == WM_SYSKEYUP && up.message == WM_KEYUP) {
    std::printf("note: Alt released as WM_KEYUP\n");
  } else {
    EXPECT_EQ(up.message, c.upMessage);
  }
  EXPECT_EQ(down.wParam, c.reported);
  EXPECT_EQ(up.wParam, c.reported);
  EXPECT_EQ((down.lParam & kExtendedBit) != 0, c.extended);
  EXPECT_EQ((up.lParam & kExtendedBit) != 0, c.extended);
  EXPECT_EQ(down.lParam & (kTransitionBit | kPreviousStateBit), 0);
  EXPECT_EQ(up.lParam & (kTransitionBit | kPreviousStateBit), kTransitionBit | kPreviousStateBit);
  EXPECT_EQ(ScanOf(down.lParam), sender.ScanCode(c.vk));
  EXPECT_NE(sender.ScanCode(c.vk), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyInjectionTest,
    ::testing::Values(InjectionCase{"Delete", VK_DELETE, true, WM_KEYDOWN, WM_KEYUP, VK_DELETE},
                      InjectionCase{"LetterA", 65, false, WM_KEYDOWN, WM_KEYUP, 65},
                      InjectionCase{"RightAlt", VK_RMENU, true, WM_SYSKEYDOWN, WM_SYSKEYUP,
                                    VK_MENU}),
    [](const auto& param) { return std::string(param.param.name); });

class Win32KeySenderTest : public ::testing::Test {};
LUMA_EMULATED_SUITE(Win32KeySenderTest);

// The thread's state is set directly: Wine re-reads key state from the X
// server, which knows nothing of injected keys.
TEST_F(Win32KeySenderTest, ReadsTheThreadsKeyboardState) {
  BYTE saved[256] = {};
  ASSERT_TRUE(GetKeyboardState(saved));
  BYTE wanted[256] = {};
  wanted[VK_CAPITAL] = 0x01;
  wanted[VK_LSHIFT] = wanted[VK_SHIFT] = 0x80;
  wanted['Q'] = 0x81;
  ASSERT_TRUE(SetKeyboardState(wanted));

  Win32KeySender sender;
  KeyStateArray state{};
  state.fill(0x55);
  sender.GetKeyboardState(state);
  SetKeyboardState(saved);
  for (int vk = 0; vk < 256; ++vk) EXPECT_EQ(state[vk] & 0x81, wanted[vk]) << vk;
}

// A program started while a modifier is down in the system (left latched by
// a keyboard that was killed) must see it, to let it go; its new thread's own
// state has not seen the key go down.
TEST_F(Win32KeySenderTest, AFreshThreadSeesTheKeysTheSystemHoldsDown) {
  RecordingWindow window;
  ASSERT_TRUE(Activate(window.Handle()));
  Win32KeySender sender;
  SendKeyInput(sender, VK_LSHIFT, false, false);
  KeyStateArray state{};
  std::thread([&] { sender.GetKeyboardState(state); }).join();
  SendKeyInput(sender, VK_LSHIFT, true, false);
  EXPECT_TRUE(state[VK_LSHIFT] & 0x80);
  EXPECT_TRUE(PumpUntil([&] { return window.keys.size() >= 2; }));
  EXPECT_FALSE(GetAsyncKeyState(VK_LSHIFT) & 0x8000);
}

// Text as characters, whatever the layout: an accent with no dead key, a sign
// that needs AltGr elsewhere, a character beyond the basic plane as its two
// surrogates; then Backspaces take units off the end.
TEST_F(Win32KeySenderTest, TextAndBackspacesReachAnEditControl) {
  RecordingWindow window;
  ASSERT_TRUE(Activate(window.Handle()));
  HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24,
                              window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SetFocus(edit);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }));
  const auto shows = [&](const std::wstring& wanted) {
    return PumpUntil([&] {
      wchar_t text[32] = {};
      GetWindowTextW(edit, text, 32);
      return text == wanted;
    });
  };
  Win32KeySender sender;
  SendText(sender, u"\u00e9\u20ac\U0001F600abc");
  EXPECT_TRUE(shows(L"\u00e9\u20ac\U0001F600abc"));
  SendBackspaces(sender, 2);
  EXPECT_TRUE(shows(L"\u00e9\u20ac\U0001F600a"));
}

TEST(Win32KeyboardLayoutsTest, UsEnglishIsInstalledAndTranslates) {
  Win32KeyboardLayouts layouts;
  const std::vector<Hkl> list = layouts.List(40);
  ASSERT_FALSE(list.empty());
  EXPECT_NE(std::find(list.begin(), list.end(), kUsEnglishHkl), list.end());
  EXPECT_TRUE(layouts.List(0).empty());
  EXPECT_LE(layouts.List(1).size(), 1u);

  EXPECT_EQ(layouts.MapVirtualKeyEx(65, 0, kUsEnglishHkl), 0x1Eu);
  EXPECT_EQ(layouts.MapVirtualKeyEx(0x1E, 3, kUsEnglishHkl), 65u);
  // Map type 3 tells left and right apart: the scan code of left Shift.
  EXPECT_EQ(layouts.MapVirtualKeyEx(0x2A, 3, kUsEnglishHkl), unsigned{VK_LSHIFT});

  struct Case {
    bool shift;
    char16_t expected;
  };
  for (const Case& c : {Case{false, u'a'}, Case{true, u'A'}}) {
    SCOPED_TRACE(c.shift);
    KeyStateArray state{};
    if (c.shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x81;
    char16_t buffer[2] = {u' ', u' '};
    EXPECT_EQ(layouts.ToUnicodeEx(65, 0x1E, state, buffer, 2, 0, kUsEnglishHkl), 1);
    EXPECT_EQ(buffer[0], c.expected);
  }
  KeyStateArray state{};
  EXPECT_EQ(layouts.ToUnicodeEx(65, 0x1E, state, nullptr, 2, 0, kUsEnglishHkl), 0);
  char16_t one[1];
  EXPECT_EQ(layouts.ToUnicodeEx(65, 0x1E, state, one, 0, 0, kUsEnglishHkl), 0);
}

TEST(Win32KeyboardLayoutsTest, UpperCaseKnowsLettersBeyondTheCommonLayouts) {
  Win32KeyboardLayouts layouts;
  struct Case {
    std::u16string lower, upper;
  } cases[] = {
      {u"a", u"A"},
      {u"\u00F6", u"\u00D6"},  // ö
      {u"\u00DF", u"\u00DF"},  // ß has no single capital: unchanged
      {u"\u00FF", u"\u0178"},  // ÿ, whose capital is outside Latin-1
      {u"\u014B", u"\u014A"},  // ŋ, Latin Extended-A
      {u"\u01CE", u"\u01CD"},  // ǎ, Latin Extended-B
      {u"\u0259", u"\u018F"},  // ə, IPA, the Azerbaijani schwa
      {u"\u0561", u"\u0531"},  // Armenian ayb
      {u"\u03C9", u"\u03A9"},  // Greek omega
      {u"\u0451", u"\u0401"},  // Cyrillic yo
      {u"1", u"1"},
      {u"^", u"^"},
      {u"", u""},
      {u"\u00E9t\u00E9", u"\u00C9T\u00C9"},  // every unit of a longer text
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.lower.empty() ? 0 : c.lower[0]));
    EXPECT_EQ(layouts.UpperCase(c.lower), c.upper);
  }
}

TEST(Win32KeyboardLayoutsTest, LoadingUsEnglishGivesItsHandle) {
  Win32KeyboardLayouts layouts;
  EXPECT_EQ(layouts.Load("04090409") & 0xFFFFFFFF, kUsEnglishHkl);
}

// Every installed layout taken into the core and back is a handle the system
// still takes: activating it makes it the thread's layout again.
TEST(HklConversionTest, InstalledLayoutsSurviveTheTripThroughTheCore) {
  HKL installed[64];
  const int count = GetKeyboardLayoutList(64, installed);
  ASSERT_GT(count, 0);
  const HKL before = GetKeyboardLayout(0);
  for (int i = 0; i < count; ++i) {
    const Hkl core = FromHkl(installed[i]);
    EXPECT_NE(ActivateKeyboardLayout(ToHkl(core), 0), nullptr) << core;
    EXPECT_EQ(GetKeyboardLayout(0), installed[i]) << core;
  }
  ActivateKeyboardLayout(before, 0);
}

TEST(Win32SystemColorsTest, NearestColorOnATrueColorScreenIsTheColorItself) {
  HDC screen = GetDC(nullptr);
  const int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  if (bits < 24) GTEST_SKIP() << "screen has " << bits << " bits per pixel";
  Win32SystemColors colors;
  for (Color c : {Rgb(0x88, 0x93, 0xB1), Rgb(0xB7, 0xBF, 0xD4), Rgb(1, 2, 3), Rgb(255, 255, 255),
                  Rgb(0, 0, 0)}) {
    EXPECT_EQ(colors.NearestColor(c), c);
  }
  EXPECT_EQ(colors.GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
}

TEST(Win32CursorTest, BusyShowsTheHourglassAndBackTheArrow) {
  Win32Cursor cursor;
  cursor.SetBusy(true);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));
  cursor.SetBusy(false);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST(WindowTimerTest, FiresOnTheMessageLoopUntilStopped) {
  RecordingWindow window;
  WindowTimer timer(window.Handle(), 7);
  WindowTimer other(window.Handle(), 8);
  EXPECT_FALSE(timer.Running());
  timer.Start(10);
  timer.Start(10);  // a restart, not a second timer
  EXPECT_TRUE(timer.Running());
  ASSERT_TRUE(PumpUntil([&] { return window.timers.size() >= 3; }));
  for (UINT_PTR id : window.timers) EXPECT_EQ(id, 7u);

  timer.Stop();
  EXPECT_FALSE(timer.Running());
  test::PumpFor(30);  // a WM_TIMER posted before the stop may still arrive
  window.timers.clear();
  test::PumpFor(100);
  EXPECT_TRUE(window.timers.empty());
}

TEST(WindowTimerTest, DestructionKillsTheTimer) {
  RecordingWindow window;
  {
    WindowTimer timer(window.Handle(), 3);
    timer.Start(5);
  }
  test::PumpFor(30);
  window.timers.clear();
  test::PumpFor(100);
  EXPECT_TRUE(window.timers.empty());
}

TEST(QueryVisualStyleTest, ReportsTheSystemVersionAndANameOnlyWithAStyle) {
  const VisualStyleInfo style = QueryVisualStyle();
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  GetVersionExW(&info);
  EXPECT_GE(style.windowsMajorVersion, info.dwMajorVersion);
  EXPECT_GE(style.windowsMajorVersion, 5u);
  if (!style.inUse) {
    EXPECT_FALSE(style.nameQueryOk);
    EXPECT_TRUE(style.themeFile.empty());
  }
  if (style.nameQueryOk) {
    EXPECT_FALSE(style.themeFile.empty());
  }
}

}  // namespace
}  // namespace luma::win32
