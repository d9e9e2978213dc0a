// The window's options of typing without clicking and of word prediction
// over settings in memory: the items and the "Hover Time" radio group as
// stored, the commands writing at once for the next start, the question
// before the learned words are forgotten, the tablet's gesture query.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "SettingsFakes.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "app/SystemMenu.h"
#include "win32/SwitchHook.h"

namespace luma::app {
namespace {

constexpr UINT kHoverClick = 0x0200, kClickSound = 0x0270;
constexpr UINT kWordPrediction = 0x0420, kLearnWords = 0x0430, kForgetLearnedWords = 0x0440;
constexpr UINT kHoverTimes[] = {0x0210, 0x0220, 0x0230, 0x0240, 0x0250, 0x0260};
constexpr UINT kScanKeys = 0x0500, kScanAutomatic = 0x0570, kScanStep = 0x0580;
constexpr UINT kClickIsSwitch = 0x0590;
constexpr UINT kScanTimes[] = {0x0510, 0x0520, 0x0530, 0x0540, 0x0550, 0x0560};
constexpr UINT kAutoClick = 1027, kFullKeyboard = 0x0410;

struct Item {
  UINT id;
  std::wstring text;
  bool separator, checked, radio;
  HMENU submenu;
};

Item ItemOf(HMENU menu, UINT item, BOOL byPosition) {
  wchar_t text[64] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 64;
  GetMenuItemInfoW(menu, item, byPosition, &info);
  return {info.wID,
          text,
          (info.fType & MFT_SEPARATOR) != 0,
          (info.fState & MFS_CHECKED) != 0,
          (info.fType & MFT_RADIOCHECK) != 0,
          info.hSubMenu};
}

// The program's block of the system menu, from its first separator: "-" for
// a separator, an item's id and text, a submenu's text and its items in
// brackets, "radio" before them where all are radio items.
std::wstring Hex(UINT id) {
  wchar_t text[16] = {};
  swprintf(text, 16, L"%#x", id);
  return text;
}

std::vector<std::wstring> Layout(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  std::vector<std::wstring> items;
  const int count = GetMenuItemCount(menu);
  for (int i = count - 18; i < count; ++i) {
    const Item item = ItemOf(menu, static_cast<UINT>(i), TRUE);
    std::wstring line = item.separator ? L"-" : item.text;
    if (!item.separator && !item.submenu) line = Hex(item.id) + L" " + line;
    if (item.submenu) {
      std::wstring subitems;
      bool radio = true;
      for (int j = 0; j < GetMenuItemCount(item.submenu); ++j) {
        const Item sub = ItemOf(item.submenu, static_cast<UINT>(j), TRUE);
        subitems += (j ? L", " : L"") + Hex(sub.id) + L" " + sub.text;
        radio = radio && sub.radio;
      }
      line += (radio ? L" radio [" : L" [") + subitems + L"]";
    }
    items.push_back(line);
  }
  return items;
}

// The checked items of the block by their initials ("LW" for "Learn Words"),
// then after semicolons the checked radio items of "Hover Time", "Scan Speed"
// and "Scan Mode" (its first word), "none" where none is.
std::wstring Shown(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  std::wstring shown;
  for (const UINT id : {kHoverClick, kClickSound, kWordPrediction, kLearnWords, kScanKeys,
                        kClickIsSwitch, kAutoClick, kFullKeyboard}) {
    const Item item = ItemOf(menu, id, FALSE);
    if (!item.checked) continue;
    if (!shown.empty()) shown += L' ';
    for (std::size_t i = 0; i < item.text.size(); ++i)
      if (i == 0 || item.text[i - 1] == L' ') shown += item.text[i];
  }
  const auto radio = [&](const auto& ids) {
    std::wstring labels;
    for (UINT id : ids) {
      const Item item = ItemOf(menu, id, FALSE);
      if (item.checked)
        labels += (labels.empty() ? L"" : L"+") + item.text.substr(0, item.text.find(L" ("));
    }
    return labels.empty() ? L"none" : labels;
  };
  return shown + L"; " + radio(kHoverTimes) + L"; " + radio(kScanTimes) + L"; " +
         radio(std::vector<UINT>{kScanAutomatic, kScanStep});
}

void Close(MainWindow& window) {
  DestroyWindow(window.Handle());
  MSG msg;
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

constexpr wchar_t kAtFirst[] = L"LW AC; 1 s; 1 s; Automatic";

// The items in their groups, each submenu one radio group in the order of its
// ids; their checks as stored.
TEST(ClickOptionsTest, ItemsShowWhatIsStored) {
  const std::vector<std::wstring> layout = {
      L"-",
      L"0x200 Hover Click",
      L"Hover Time radio [0x210 0.5 s, 0x220 0.75 s, 0x230 1 s, 0x240 1.5 s, 0x250 2 s, 0x260 3 s]",
      L"0x270 Click Sound",
      L"-",
      L"0x420 Word Prediction",
      L"0x430 Learn Words",
      L"0x440 Forget Learned Words",
      L"-",
      L"0x500 Scan Keys",
      L"Scan Speed radio [0x510 0.5 s, 0x520 0.75 s, 0x530 1 s, 0x540 1.5 s, 0x550 2 s, 0x560 3 s]",
      L"Scan Mode radio [0x570 Automatic (one switch), 0x580 Step (two switches)]",
      L"0x590 Click Is Switch",
      L"-",
      L"0x403 Auto Click",
      L"0x404 Change Colors",
      L"0x402 Open www.lumatype.org",
      L"0x410 Full Keyboard",
  };
  const struct {
    std::map<std::string, std::int32_t> stored;
    std::wstring shown;
  } rows[] = {
      {{}, kAtFirst},
      {{{"HoverClick", 1}, {"HoverTime", 750}, {"ClickSound", 1}},
       L"HC CS LW AC; 0.75 s; 1 s; Automatic"},
      {{{"HoverClick", 0}, {"HoverTime", 3000}, {"ClickSound", 0}}, L"LW AC; 3 s; 1 s; Automatic"},
      // Hand-edited: none of the choices.
      {{{"HoverTime", 800}}, L"LW AC; none; 1 s; Automatic"},
      {{{"HoverTime", 0}}, kAtFirst},
      {{{"Prediction", 1}, {"LearnWords", 0}}, L"WP AC; 1 s; 1 s; Automatic"},
      {{{"Prediction", 0}, {"LearnWords", 1}}, kAtFirst},
      {{{"ScanKeys", 1}, {"ScanTime", 1500}, {"ScanMode", 1}, {"ScanClickSwitch", 1}},
       L"LW SK CIS AC; 1 s; 1.5 s; Step"},
      {{{"ScanTime", 800}, {"ScanMode", 7}}, L"LW AC; 1 s; none; Automatic"},
      {{{"AutoClick", 0}, {"Keyboard", 1}}, L"LW FK; 1 s; 1 s; Automatic"},
      {{{"AutoClick", 5}}, kAtFirst},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.stored));
    fakes::MemorySettings settings;
    settings.values = r.stored;
    MainWindow window(settings);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(Shown(window.Handle()), r.shown);
    EXPECT_EQ(Layout(window.Handle()), layout);
    Close(window);
  }
}

// Each command is written at once; the next start shows it. The low four
// bits of the program's own ids are the system's and leave the command as it
// is; Auto Click's id is compared whole: with other low bits it is no item.
TEST(ClickOptionsTest, CommandsWriteAtOnceAndTheNextStartShowsThem) {
  fakes::MemorySettings settings;
  MainWindow window(settings);
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  const struct {
    WPARAM command;
    std::string written;  // empty: nothing
    std::wstring shown;
  } steps[] = {
      {kHoverClick, "HoverClick=1", L"HC LW AC; 1 s; 1 s; Automatic"},
      {kHoverTimes[3] | 0x3, "HoverTime=1500", L"HC LW AC; 1.5 s; 1 s; Automatic"},
      {kClickSound, "ClickSound=1", L"HC CS LW AC; 1.5 s; 1 s; Automatic"},
      {kHoverTimes[0], "HoverTime=500", L"HC CS LW AC; 0.5 s; 1 s; Automatic"},
      {kClickSound | 0xF, "ClickSound=0", L"HC LW AC; 0.5 s; 1 s; Automatic"},
      {kHoverClick, "HoverClick=0", L"LW AC; 0.5 s; 1 s; Automatic"},
      {kHoverClick, "HoverClick=1", L"HC LW AC; 0.5 s; 1 s; Automatic"},
      {kAutoClick, "AutoClick=0", L"HC LW; 0.5 s; 1 s; Automatic"},
      {kAutoClick | 0x8, "", L"HC LW; 0.5 s; 1 s; Automatic"},
      {kAutoClick, "AutoClick=1", L"HC LW AC; 0.5 s; 1 s; Automatic"},
      {kWordPrediction, "Prediction=1", L"HC WP LW AC; 0.5 s; 1 s; Automatic"},
      {kLearnWords | 0x2, "LearnWords=0", L"HC WP AC; 0.5 s; 1 s; Automatic"},
      {kWordPrediction | 0xF, "Prediction=0", L"HC AC; 0.5 s; 1 s; Automatic"},
      {kWordPrediction, "Prediction=1", L"HC WP AC; 0.5 s; 1 s; Automatic"},
      {kScanKeys, "ScanKeys=1", L"HC WP SK AC; 0.5 s; 1 s; Automatic"},
      {kScanTimes[1] | 0x3, "ScanTime=750", L"HC WP SK AC; 0.5 s; 0.75 s; Automatic"},
      {kScanStep, "ScanMode=1", L"HC WP SK AC; 0.5 s; 0.75 s; Step"},
      {kClickIsSwitch | 0xF, "ScanClickSwitch=1", L"HC WP SK CIS AC; 0.5 s; 0.75 s; Step"},
      {kScanAutomatic | 0x1, "ScanMode=0", L"HC WP SK CIS AC; 0.5 s; 0.75 s; Automatic"},
      {kScanKeys, "ScanKeys=0", L"HC WP CIS AC; 0.5 s; 0.75 s; Automatic"},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.command);
    const std::size_t written = settings.writes.size();
    SendMessageW(window.Handle(), WM_SYSCOMMAND, s.command, 0);
    if (s.written.empty()) {
      EXPECT_EQ(settings.writes.size(), written);
    } else {
      EXPECT_EQ(settings.writes.back(), s.written);
    }
    EXPECT_EQ(Shown(window.Handle()), s.shown);
  }
  // TABLET_DISABLE_PRESSANDHOLD | _PENTAPFEEDBACK | _PENBARRELFEEDBACK | _FLICKS
  EXPECT_EQ(SendMessageW(window.Handle(), 0x02CC, 0, 0), 0x00010019);
  Close(window);

  MainWindow again(settings);
  ASSERT_TRUE(again.Create(GetModuleHandleW(nullptr)));
  EXPECT_EQ(Shown(again.Handle()), std::end(steps)[-1].shown);
  Close(again);
}

// The user answering the box a command opens, from inside its modal loop.
int boxAnswer = IDNO, boxesAnswered = 0;
HWND lastBox = nullptr;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindWindowW(L"#32770", L"Lumatype");
  if (!box || box == lastBox) return;
  lastBox = box;
  ++boxesAnswered;
  PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(boxAnswer), 0);
}

TEST(ClickOptionsTest, ForgettingLearnedWordsAsksOnceAndHandsTheForegroundBack) {
  const struct {
    bool owned;  // the menu's owner can forget
    int answer;
    int forgotten;
    int asked;
  } rows[] = {{true, IDYES, 1, 1}, {true, IDNO, 0, 1}, {false, IDYES, 0, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.answer);
    win32::test::RecordingWindow typedInto(L"Lumatype typed into");
    win32::test::RecordingWindow keyboard(L"Lumatype menu owner", WS_EX_NOACTIVATE | WS_EX_TOPMOST);
    ShowWindow(keyboard.Handle(), SW_SHOWNOACTIVATE);
    ASSERT_TRUE(win32::test::Activate(typedInto.Handle()));
    Options options;
    InputDispatch input;
    fakes::MemorySettings settings;
    int forgotten = 0;
    SystemMenu menu(
        options, input, settings, [] {}, {},
        r.owned ? std::function<void()>([&] { ++forgotten; }) : nullptr);
    menu.Create(keyboard.Handle());
    const UINT state =
        GetMenuState(GetSystemMenu(keyboard.Handle(), FALSE), kForgetLearnedWords, MF_BYCOMMAND);
    EXPECT_EQ((state & MF_GRAYED) != 0, !r.owned);

    boxAnswer = r.answer;
    boxesAnswered = 0;
    lastBox = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerBox);
    EXPECT_TRUE(menu.OnCommand(kForgetLearnedWords | 0x5));  // the system's low bits
    KillTimer(nullptr, timer);
    EXPECT_EQ(forgotten, r.forgotten);
    EXPECT_EQ(boxesAnswered, r.asked);
    EXPECT_TRUE(win32::test::PumpUntil([&] { return GetForegroundWindow() == typedInto.Handle(); }))
        << "the application typed into has the foreground again";
  }
}

// Where the switch keys cannot be watched (here the program's one hook is
// taken), a box says so and scanning stays off, at a start and when chosen;
// the stored choice is kept for a start where it can run.
TEST(ClickOptionsTest, ScanKeysStaysOffWhereTheSwitchKeysCannotBeWatched) {
  win32::SwitchHook taken([](std::uint16_t, bool, std::uint32_t) {});
  ASSERT_TRUE(taken.Install());
  fakes::MemorySettings settings;
  settings.values = {{"ScanKeys", 1}};
  boxAnswer = IDOK;
  boxesAnswered = 0;
  lastBox = nullptr;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerBox);
  MainWindow window(settings);
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  EXPECT_EQ(boxesAnswered, 1);
  EXPECT_EQ(Shown(window.Handle()), kAtFirst);
  EXPECT_EQ(settings.values["ScanKeys"], 1);

  lastBox = nullptr;
  SendMessageW(window.Handle(), WM_SYSCOMMAND, kScanKeys, 0);
  KillTimer(nullptr, timer);
  EXPECT_EQ(boxesAnswered, 2);
  EXPECT_EQ(settings.writes.back(), "ScanKeys=0");
  EXPECT_EQ(Shown(window.Handle()), kAtFirst);
  Close(window);
}

}  // namespace
}  // namespace luma::app
