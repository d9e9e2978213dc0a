// The main window's options of typing without clicking, over settings in
// memory: the items, the "Hover Time" radio group and the check marks as
// stored, the commands writing at once for the next start, and the answer
// to the tablet's gesture query.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/MainWindow.h"

namespace luma::app {
namespace {

class StoredValues : public Settings {
 public:
  std::map<std::string, std::int32_t> values;
  std::vector<std::string> writes;
  std::int32_t ReadInteger(const std::string& name, std::int32_t defaultValue) override {
    const auto it = values.find(name);
    return it == values.end() ? defaultValue : it->second;
  }
  bool ReadBool(const std::string& name, bool defaultValue) override {
    return ReadInteger(name, defaultValue ? 1 : 0) != 0;
  }
  bool WriteInteger(const std::string& name, std::int32_t value) override {
    writes.push_back(name + "=" + std::to_string(value));
    values[name] = value;
    return true;
  }
  bool WriteBool(const std::string& name, bool value) override {
    return WriteInteger(name, value ? 1 : 0);
  }
};

constexpr UINT kHoverClick = 0x0200;
constexpr UINT kClickSound = 0x0270;
constexpr UINT kHoverTimes[] = {0x0210, 0x0220, 0x0230, 0x0240, 0x0250, 0x0260};
const std::wstring kHoverTimeLabels[] = {L"0.5 s", L"0.75 s", L"1 s", L"1.5 s", L"2 s", L"3 s"};

struct Shown {
  bool hoverClick;
  int hoverTime;  // index of the checked radio item; -1: none
  bool clickSound;
  friend bool operator==(const Shown&, const Shown&) = default;
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
  return out << "{" << s.hoverClick << ", " << s.hoverTime << ", " << s.clickSound << "}";
}

MENUITEMINFOW Item(HMENU menu, UINT item, bool byPosition, wchar_t* text = nullptr) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | (text ? MIIM_STRING : 0);
  info.dwTypeData = text;
  info.cch = text ? 64 : 0;
  GetMenuItemInfoW(menu, item, byPosition ? TRUE : FALSE, &info);
  return info;
}

bool Checked(HMENU menu, UINT id) { return (Item(menu, id, false).fState & MFS_CHECKED) != 0; }

Shown WhatTheMenuShows(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  Shown shown{Checked(menu, kHoverClick), -1, Checked(menu, kClickSound)};
  for (int i = 0; i < 6; ++i) {
    if (!Checked(menu, kHoverTimes[i])) continue;
    EXPECT_EQ(shown.hoverTime, -1) << "two radio items checked";
    shown.hoverTime = i;
  }
  return shown;
}

void Close(MainWindow& window) {
  DestroyWindow(window.Handle());
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST(ClickOptionsTest, ItemsComeBeforeTheOwnBlockWithTheHoverTimesAsOneRadioGroup) {
  StoredValues settings;
  MainWindow window(settings);
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  HMENU menu = GetSystemMenu(window.Handle(), FALSE);
  const int count = GetMenuItemCount(menu);
  // separator, Hover Click, Hover Time, Click Sound, then the block that
  // ends the menu: separator, Auto Click, Change Colors, Open <site>.
  const int first = count - 8;
  wchar_t text[64] = {};
  EXPECT_TRUE(Item(menu, static_cast<UINT>(first), true).fType & MFT_SEPARATOR);
  EXPECT_EQ(Item(menu, static_cast<UINT>(first + 1), true, text).wID, kHoverClick);
  EXPECT_EQ(std::wstring(text), L"Hover Click");
  const MENUITEMINFOW times = Item(menu, static_cast<UINT>(first + 2), true, text);
  EXPECT_EQ(std::wstring(text), L"Hover Time");
  ASSERT_NE(times.hSubMenu, nullptr);
  EXPECT_EQ(Item(menu, static_cast<UINT>(first + 3), true, text).wID, kClickSound);
  EXPECT_EQ(std::wstring(text), L"Click Sound");
  EXPECT_TRUE(Item(menu, static_cast<UINT>(first + 4), true).fType & MFT_SEPARATOR);
  EXPECT_EQ(Item(menu, static_cast<UINT>(first + 5), true).wID, 1027u);

  ASSERT_EQ(GetMenuItemCount(times.hSubMenu), 6);
  for (UINT i = 0; i < 6; ++i) {
    const MENUITEMINFOW item = Item(times.hSubMenu, i, true, text);
    EXPECT_EQ(item.wID, kHoverTimes[i]);
    EXPECT_EQ(std::wstring(text), kHoverTimeLabels[i]);
    EXPECT_TRUE(item.fType & MFT_RADIOCHECK) << i;
  }
  Close(window);
}

TEST(ClickOptionsTest, TheMenuShowsWhatIsStored) {
  const struct {
    std::optional<int> hoverClick, hoverTime, clickSound;
    Shown shown;
  } rows[] = {
      {{}, {}, {}, {false, 2, false}},  // the defaults: off, 1 s, off
      {1, 750, 1, {true, 1, true}},         {0, 3000, 0, {false, 5, false}},
      {1, 800, {}, {true, -1, false}},  // hand-edited: no choice of the menu
      {{}, 0, {}, {false, 2, false}},   // no time: 1 s
      {{}, 100000, {}, {false, -1, false}},
  };
  for (const auto& r : rows) {
    StoredValues settings;
    if (r.hoverClick) settings.values["HoverClick"] = *r.hoverClick;
    if (r.hoverTime) settings.values["HoverTime"] = *r.hoverTime;
    if (r.clickSound) settings.values["ClickSound"] = *r.clickSound;
    MainWindow window(settings);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(WhatTheMenuShows(window.Handle()), r.shown) << r.hoverTime.value_or(-1);
    Close(window);
  }
}

TEST(ClickOptionsTest, CommandsWriteAtOnceAndTheNextStartShowsThem) {
  StoredValues settings;
  {
    MainWindow window(settings);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    HWND hwnd = window.Handle();
    // The low four bits belong to the system and do not change the command.
    const struct {
      WPARAM command;
      std::string written;
      Shown shown;
    } steps[] = {
        {kHoverClick, "HoverClick=1", {true, 2, false}},
        {kHoverTimes[3] | 0x3, "HoverTime=1500", {true, 3, false}},
        {kClickSound, "ClickSound=1", {true, 3, true}},
        {kHoverTimes[0], "HoverTime=500", {true, 0, true}},
        {kClickSound | 0xF, "ClickSound=0", {true, 0, false}},
        {kHoverClick, "HoverClick=0", {false, 0, false}},
        {kHoverClick, "HoverClick=1", {true, 0, false}},
    };
    for (const auto& s : steps) {
      SendMessageW(hwnd, WM_SYSCOMMAND, s.command, 0);
      EXPECT_EQ(settings.writes.back(), s.written);
      EXPECT_EQ(WhatTheMenuShows(hwnd), s.shown) << s.written;
    }
    settings.writes.clear();
    Close(window);
    for (const std::string& w : settings.writes) EXPECT_EQ(w.find("Hover"), std::string::npos);
  }
  MainWindow again(settings);
  ASSERT_TRUE(again.Create(GetModuleHandleW(nullptr)));
  EXPECT_EQ(WhatTheMenuShows(again.Handle()), (Shown{true, 0, false}));
  Close(again);
}

TEST(ClickOptionsTest, TheTabletGestureQueryTurnsOffPressAndHoldTapFeedbackAndFlicks) {
  StoredValues settings;
  MainWindow window(settings);
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  // TABLET_DISABLE_PRESSANDHOLD | _PENTAPFEEDBACK | _PENBARRELFEEDBACK | _FLICKS
  EXPECT_EQ(SendMessageW(window.Handle(), 0x02CC, 0, 0), 0x00010019);
  Close(window);
}

}  // namespace
}  // namespace luma::app
