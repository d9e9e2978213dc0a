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

MENUITEMINFOW Item(HMENU menu, UINT item, BOOL byPosition, wchar_t (*text)[64] = nullptr) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | (text ? MIIM_STRING : 0);
  info.dwTypeData = text ? *text : nullptr;
  info.cch = text ? 64 : 0;
  GetMenuItemInfoW(menu, item, byPosition, &info);
  return info;
}

// "Hover Click" check, the checked radio item's label (or "none"), "Click
// Sound", "Word Prediction" and "Learn Words" checks; then, after a slash,
// "Scan Keys", the checked scan speed and mode, "Click Is Switch".
std::wstring Shown(HWND window) {
  HMENU menu = GetSystemMenu(window, FALSE);
  const auto checked = [&](UINT id) { return (Item(menu, id, FALSE).fState & MFS_CHECKED) != 0; };
  const auto radio = [&](const auto& ids) {
    std::wstring labels;
    for (UINT id : ids) {
      if (!checked(id)) continue;
      wchar_t text[64] = {};
      Item(menu, id, FALSE, &text);
      labels += (labels.empty() ? L"" : L"+") + std::wstring(text);
    }
    return labels.empty() ? L"none" : labels;
  };
  return std::wstring(checked(kHoverClick) ? L"on " : L"off ") + radio(kHoverTimes) +
         (checked(kClickSound) ? L" sound" : L" quiet") +
         (checked(kWordPrediction) ? L" predict" : L" plain") +
         (checked(kLearnWords) ? L" learn" : L" forget") +
         (checked(kScanKeys) ? L" / scan " : L" / still ") + radio(kScanTimes) + L" " +
         radio(std::vector<UINT>{kScanAutomatic, kScanStep}) +
         (checked(kClickIsSwitch) ? L" click" : L"");
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
      {{}, L"off 1 s quiet plain learn / still 1 s Automatic (one switch)"},
      {{{"HoverClick", 1}, {"HoverTime", 750}, {"ClickSound", 1}},
       L"on 0.75 s sound plain learn / still 1 s Automatic (one switch)"},
      {{{"HoverClick", 0}, {"HoverTime", 3000}, {"ClickSound", 0}},
       L"off 3 s quiet plain learn / still 1 s Automatic (one switch)"},
      {{{"HoverTime", 800}},
       L"off none quiet plain learn / still 1 s Automatic (one switch)"},  // hand-edited: none of
                                                                           // the choices
      {{{"HoverTime", 0}}, L"off 1 s quiet plain learn / still 1 s Automatic (one switch)"},
      {{{"Prediction", 1}, {"LearnWords", 0}},
       L"off 1 s quiet predict forget / still 1 s Automatic (one switch)"},
      {{{"Prediction", 0}, {"LearnWords", 1}},
       L"off 1 s quiet plain learn / still 1 s Automatic (one switch)"},
      {{{"ScanKeys", 1}, {"ScanTime", 1500}, {"ScanMode", 1}, {"ScanClickSwitch", 1}},
       L"off 1 s quiet plain learn / scan 1.5 s Step (two switches) click"},
      {{{"ScanTime", 800}, {"ScanMode", 7}},
       L"off 1 s quiet plain learn / still none Automatic (one switch)"},
  };
  for (const auto& r : rows) {
    fakes::MemorySettings settings;
    settings.values = r.stored;
    MainWindow window(settings);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(Shown(window.Handle()), r.shown);

    // separator, Hover Click, Hover Time, Click Sound; separator, Word
    // Prediction, Learn Words, Forget Learned Words; separator, Scan Keys,
    // Scan Speed, Scan Mode, Click Is Switch; then separator, Auto Click,
    // Change Colors, the site, Full Keyboard.
    HMENU menu = GetSystemMenu(window.Handle(), FALSE);
    const UINT first = static_cast<UINT>(GetMenuItemCount(menu) - 18);
    wchar_t text[64] = {};
    EXPECT_TRUE(Item(menu, first, TRUE).fType & MFT_SEPARATOR);
    EXPECT_EQ(Item(menu, first + 1, TRUE).wID, kHoverClick);
    HMENU times = Item(menu, first + 2, TRUE, &text).hSubMenu;
    EXPECT_EQ(std::wstring(text), L"Hover Time");
    EXPECT_EQ(Item(menu, first + 3, TRUE).wID, kClickSound);
    EXPECT_TRUE(Item(menu, first + 4, TRUE).fType & MFT_SEPARATOR);
    const UINT prediction[] = {kWordPrediction, kLearnWords, kForgetLearnedWords};
    const wchar_t* labels[] = {L"Word Prediction", L"Learn Words", L"Forget Learned Words"};
    for (UINT i = 0; i < 3; ++i) {
      wchar_t label[64] = {};
      EXPECT_EQ(Item(menu, first + 5 + i, TRUE, &label).wID, prediction[i]);
      EXPECT_EQ(std::wstring(label), labels[i]);
    }
    EXPECT_TRUE(Item(menu, first + 8, TRUE).fType & MFT_SEPARATOR);
    EXPECT_EQ(Item(menu, first + 9, TRUE).wID, kScanKeys);
    wchar_t speedText[64] = {}, modeText[64] = {};
    HMENU scanTimes = Item(menu, first + 10, TRUE, &speedText).hSubMenu;
    HMENU scanModes = Item(menu, first + 11, TRUE, &modeText).hSubMenu;
    EXPECT_EQ(std::wstring(speedText) + L", " + modeText, L"Scan Speed, Scan Mode");
    EXPECT_EQ(Item(menu, first + 12, TRUE).wID, kClickIsSwitch);
    EXPECT_TRUE(Item(menu, first + 13, TRUE).fType & MFT_SEPARATOR);
    EXPECT_EQ(Item(menu, first + 14, TRUE).wID, 1027u);
    // Each submenu one radio group, in the order of its ids.
    const struct {
      HMENU menu;
      std::vector<UINT> ids;
    } groups[] = {{times, {std::begin(kHoverTimes), std::end(kHoverTimes)}},
                  {scanTimes, {std::begin(kScanTimes), std::end(kScanTimes)}},
                  {scanModes, {kScanAutomatic, kScanStep}}};
    for (const auto& group : groups) {
      ASSERT_EQ(GetMenuItemCount(group.menu), static_cast<int>(group.ids.size()));
      for (UINT i = 0; i < group.ids.size(); ++i) {
        EXPECT_EQ(Item(group.menu, i, TRUE).wID, group.ids[i]);
        EXPECT_TRUE(Item(group.menu, i, TRUE).fType & MFT_RADIOCHECK) << i;
      }
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
      {kHoverClick, "HoverClick=1", L"on 1 s quiet plain learn / still 1 s Automatic (one switch)"},
      {kHoverTimes[3] | 0x3, "HoverTime=1500",
       L"on 1.5 s quiet plain learn / still 1 s Automatic (one switch)"},
      {kClickSound, "ClickSound=1",
       L"on 1.5 s sound plain learn / still 1 s Automatic (one switch)"},
      {kHoverTimes[0], "HoverTime=500",
       L"on 0.5 s sound plain learn / still 1 s Automatic (one switch)"},
      {kClickSound | 0xF, "ClickSound=0",
       L"on 0.5 s quiet plain learn / still 1 s Automatic (one switch)"},
      {kHoverClick, "HoverClick=0",
       L"off 0.5 s quiet plain learn / still 1 s Automatic (one switch)"},
      {kHoverClick, "HoverClick=1",
       L"on 0.5 s quiet plain learn / still 1 s Automatic (one switch)"},
      {kWordPrediction, "Prediction=1",
       L"on 0.5 s quiet predict learn / still 1 s Automatic (one switch)"},
      {kLearnWords | 0x2, "LearnWords=0",
       L"on 0.5 s quiet predict forget / still 1 s Automatic (one switch)"},
      {kWordPrediction | 0xF, "Prediction=0",
       L"on 0.5 s quiet plain forget / still 1 s Automatic (one switch)"},
      {kWordPrediction, "Prediction=1",
       L"on 0.5 s quiet predict forget / still 1 s Automatic (one switch)"},
      {kScanKeys, "ScanKeys=1", L"on 0.5 s quiet predict forget / scan 1 s Automatic (one switch)"},
      {kScanTimes[1] | 0x3, "ScanTime=750",
       L"on 0.5 s quiet predict forget / scan 0.75 s Automatic (one switch)"},
      {kScanStep, "ScanMode=1", L"on 0.5 s quiet predict forget / scan 0.75 s Step (two switches)"},
      {kClickIsSwitch | 0xF, "ScanClickSwitch=1",
       L"on 0.5 s quiet predict forget / scan 0.75 s Step (two switches) click"},
      {kScanAutomatic | 0x1, "ScanMode=0",
       L"on 0.5 s quiet predict forget / scan 0.75 s Automatic (one switch) click"},
      {kScanKeys, "ScanKeys=0",
       L"on 0.5 s quiet predict forget / still 0.75 s Automatic (one switch) click"},
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
  EXPECT_EQ(Shown(again.Handle()),
            L"on 0.5 s quiet predict forget / still 0.75 s Automatic (one switch) click");
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
  const std::wstring off = L"off 1 s quiet plain learn / still 1 s Automatic (one switch)";
  EXPECT_EQ(Shown(window.Handle()), off);
  EXPECT_EQ(settings.values["ScanKeys"], 1);

  lastBox = nullptr;
  SendMessageW(window.Handle(), WM_SYSCOMMAND, kScanKeys, 0);
  KillTimer(nullptr, timer);
  EXPECT_EQ(boxesAnswered, 2);
  EXPECT_EQ(settings.writes.back(), "ScanKeys=0");
  EXPECT_EQ(Shown(window.Handle()), off);
  Close(window);
}

}  // namespace
}  // namespace luma::app
