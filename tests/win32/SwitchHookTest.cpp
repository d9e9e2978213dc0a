// The switch keys' hook against the system's input: keys sent through
// SendInput as a switch interface would send them, without the program's
// mark, are taken and never reach the focused edit; the program's own keys
// and every other key pass.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "keys/KeyInput.h"
#include "win32/SwitchHook.h"
#include "win32/Win32System.h"

namespace luma::win32 {
namespace {

using test::PumpUntil;

struct SwitchEvent {
  std::uint16_t vk;
  bool down;
  std::uint32_t time;
  friend bool operator==(const SwitchEvent&, const SwitchEvent&) = default;
};

// A press and release as another program or a device driver sends them.
void SendUnmarked(WORD vk, DWORD time) {
  INPUT input[2]{};
  input[0].type = INPUT_KEYBOARD;
  input[0].ki.wVk = vk;
  input[0].ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input[0].ki.time = time;
  input[1] = input[0];
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  input[1].ki.time = time + 40;
  SendInput(2, input, sizeof(INPUT));
}

TEST(SwitchHookTest, TakesTheSwitchKeysOnlyAndOnlyFromOthers) {
  test::RecordingWindow window;
  ASSERT_TRUE(test::Activate(window.Handle()));
  HWND edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24,
                              window.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SetFocus(edit);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit; }));
  const auto text = [&] {
    wchar_t buffer[32] = {};
    GetWindowTextW(edit, buffer, 32);
    return std::wstring(buffer);
  };

  std::vector<SwitchEvent> taken;
  SwitchHook hook([&](std::uint16_t vk, bool down, std::uint32_t time) {
    taken.push_back({vk, down, time});
  });
  hook.SetKeys({VK_SPACE, VK_F9});
  ASSERT_TRUE(hook.Install());
  EXPECT_TRUE(hook.Install());  // again: the same hook stays
  SwitchHook second([](std::uint16_t, bool, std::uint32_t) {});
  EXPECT_FALSE(second.Install());  // one hook per program

  Win32KeySender own;
  const struct {
    const char* what;
    std::function<void()> send;
    std::wstring text;  // what the edit shows after it
    std::vector<SwitchEvent> taken;
  } steps[] = {
      {"a switch key from another program",
       [] { SendUnmarked(VK_SPACE, 5000); },
       L"",
       {{VK_SPACE, true, 5000}, {VK_SPACE, false, 5040}}},
      {"the second switch key",
       [] { SendUnmarked(VK_F9, 7000); },
       L"",
       {{VK_F9, true, 7000}, {VK_F9, false, 7040}}},
      {"any other key", [] { SendUnmarked('A', 9000); }, L"a", {}},
      {"the program's own switch key",
       [&] {
         SendKeyInput(own, VK_SPACE, false, false);
         SendKeyInput(own, VK_SPACE, true, false);
       },
       L"a ",
       {}},
      {"uninstalled", [&] { hook.Uninstall(), SendUnmarked(VK_SPACE, 11000); }, L"a  ", {}},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.what);
    taken.clear();
    step.send();
    PumpUntil([&] { return text() == step.text && taken.size() == step.taken.size(); });
    test::PumpFor(100);  // nothing more arrives
    EXPECT_EQ(text(), step.text);
    EXPECT_EQ(taken, step.taken);
  }
  EXPECT_FALSE(hook.Installed());
  EXPECT_TRUE(second.Install());  // free again once the first is gone
}

}  // namespace
}  // namespace luma::win32
