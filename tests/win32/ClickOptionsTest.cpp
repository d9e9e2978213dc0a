// The window's options of typing without clicking over settings in memory:
// the items and the "Hover Time" radio group as stored, the commands
// writing at once for the next start, the tablet's gesture query.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "SettingsFakes.h"
#include "app/MainWindow.h"

namespace luma::app {
namespace {

constexpr UINT kHoverClick = 0x0200, kClickSound = 0x0270;
constexpr UINT kHoverTimes[] = {0x0210, 0x0220, 0x0230, 0x0240, 0x0250, 0x0260};

MENUITEMINFOW Item(HMENU menu, UINT item, BOOL byPosition, wchar_t (*text)[64] = nullptr) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | (text ? MIIM_STRING : 0);
  info.dwTypeData = text ? *text : nullptr;
  info.cch = text ? 64 : 0;
  GetMenuItemInfoW(menu, item, byPosition, &info);
  return info;
}

// "Hover Click" check, the checked radio item's label (or "none"), "Click Sound" check.
std::wstring Shown(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  const auto checked = [&](UINT id) { return (Item(menu, id, FALSE).fState & MFS_CHECKED) != 0; };
  std::wstring time;
  for (UINT id : kHoverTimes) {
    if (!checked(id)) continue;
    wchar_t text[64] = {};
    Item(menu, id, FALSE, &text);
    time += (time.empty() ? L"" : L"+") + std::wstring(text);
  }
  if (time.empty()) time = L"none";
  return std::wstring(checked(kHoverClick) ? L"on " : L"off ") + time +
         (checked(kClickSound) ? L" sound" : L" quiet");
}

void Close(MainWindow& window) {
  DestroyWindow(window.Handle());
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST(ClickOptionsTest, ItemsBeforeTheProgramsOwnBlockShowWhatIsStored) {
  const struct {
    std::map<std::string, std::int32_t> stored;
    std::wstring shown;
  } rows[] = {
      {{}, L"off 1 s quiet"},
      {{{"HoverClick", 1}, {"HoverTime", 750}, {"ClickSound", 1}}, L"on 0.75 s sound"},
      {{{"HoverClick", 0}, {"HoverTime", 3000}, {"ClickSound", 0}}, L"off 3 s quiet"},
      {{{"HoverTime", 800}}, L"off none quiet"},  // hand-edited: none of the choices
      {{{"HoverTime", 0}}, L"off 1 s quiet"},
  };
  for (const auto& r : rows) {
    fakes::MemorySettings settings;
    settings.values = r.stored;
    MainWindow window(settings);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(Shown(window.Handle()), r.shown);

    // separator, Hover Click, Hover Time, Click Sound; then separator, Auto Click,
    // Change Colors, the site, Full Keyboard.
    HMENU menu = GetSystemMenu(window.Handle(), FALSE);
    const UINT first = static_cast<UINT>(GetMenuItemCount(menu) - 9);
    wchar_t text[64] = {};
    EXPECT_TRUE(Item(menu, first, TRUE).fType & MFT_SEPARATOR);
    EXPECT_EQ(Item(menu, first + 1, TRUE).wID, kHoverClick);
    HMENU times = Item(menu, first + 2, TRUE, &text).hSubMenu;
    EXPECT_EQ(std::wstring(text), L"Hover Time");
    EXPECT_EQ(Item(menu, first + 3, TRUE).wID, kClickSound);
    EXPECT_EQ(Item(menu, first + 5, TRUE).wID, 1027u);
    ASSERT_EQ(GetMenuItemCount(times), 6);
    for (UINT i = 0; i < 6; ++i) {
      EXPECT_EQ(Item(times, i, TRUE).wID, kHoverTimes[i]);
      EXPECT_TRUE(Item(times, i, TRUE).fType & MFT_RADIOCHECK) << i;
    }
    Close(window);
  }
}

TEST(ClickOptionsTest, CommandsWriteAtOnceAndTheNextStartShowsThem) {
  fakes::MemorySettings settings;
  MainWindow window(settings);
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  // The low four bits are the system's and leave the command as it is.
  const struct {
    WPARAM command;
    std::string written;
    std::wstring shown;
  } steps[] = {
      {kHoverClick, "HoverClick=1", L"on 1 s quiet"},
      {kHoverTimes[3] | 0x3, "HoverTime=1500", L"on 1.5 s quiet"},
      {kClickSound, "ClickSound=1", L"on 1.5 s sound"},
      {kHoverTimes[0], "HoverTime=500", L"on 0.5 s sound"},
      {kClickSound | 0xF, "ClickSound=0", L"on 0.5 s quiet"},
      {kHoverClick, "HoverClick=0", L"off 0.5 s quiet"},
      {kHoverClick, "HoverClick=1", L"on 0.5 s quiet"},
  };
  for (const auto& s : steps) {
    SendMessageW(window.Handle(), WM_SYSCOMMAND, s.command, 0);
    EXPECT_EQ(settings.writes.back(), s.written);
    EXPECT_EQ(Shown(window.Handle()), s.shown);
  }
  // TABLET_DISABLE_PRESSANDHOLD | _PENTAPFEEDBACK | _PENBARRELFEEDBACK | _FLICKS
  EXPECT_EQ(SendMessageW(window.Handle(), 0x02CC, 0, 0), 0x00010019);
  Close(window);

  MainWindow again(settings);
  ASSERT_TRUE(again.Create(GetModuleHandleW(nullptr)));
  EXPECT_EQ(Shown(again.Handle()), L"on 0.5 s quiet");
  Close(again);
}

}  // namespace
}  // namespace luma::app
