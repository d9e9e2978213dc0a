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

namespace luma::app {
namespace {

constexpr UINT kHoverClick = 0x0200, kClickSound = 0x0270;
constexpr UINT kWordPrediction = 0x0420, kLearnWords = 0x0430, kForgetLearnedWords = 0x0440;
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

// "Hover Click" check, the checked radio item's label (or "none"), "Click
// Sound", "Word Prediction" and "Learn Words" checks.
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
         (checked(kClickSound) ? L" sound" : L" quiet") +
         (checked(kWordPrediction) ? L" predict" : L" plain") +
         (checked(kLearnWords) ? L" learn" : L" forget");
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
      {{}, L"off 1 s quiet plain learn"},
      {{{"HoverClick", 1}, {"HoverTime", 750}, {"ClickSound", 1}}, L"on 0.75 s sound plain learn"},
      {{{"HoverClick", 0}, {"HoverTime", 3000}, {"ClickSound", 0}}, L"off 3 s quiet plain learn"},
      {{{"HoverTime", 800}}, L"off none quiet plain learn"},  // hand-edited: none of the choices
      {{{"HoverTime", 0}}, L"off 1 s quiet plain learn"},
      {{{"Prediction", 1}, {"LearnWords", 0}}, L"off 1 s quiet predict forget"},
      {{{"Prediction", 0}, {"LearnWords", 1}}, L"off 1 s quiet plain learn"},
  };
  for (const auto& r : rows) {
    fakes::MemorySettings settings;
    settings.values = r.stored;
    MainWindow window(settings);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    EXPECT_EQ(Shown(window.Handle()), r.shown);

    // separator, Hover Click, Hover Time, Click Sound; separator, Word
    // Prediction, Learn Words, Forget Learned Words; then separator, Auto
    // Click, Change Colors, the site, Full Keyboard.
    HMENU menu = GetSystemMenu(window.Handle(), FALSE);
    const UINT first = static_cast<UINT>(GetMenuItemCount(menu) - 13);
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
    EXPECT_EQ(Item(menu, first + 9, TRUE).wID, 1027u);
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
      {kHoverClick, "HoverClick=1", L"on 1 s quiet plain learn"},
      {kHoverTimes[3] | 0x3, "HoverTime=1500", L"on 1.5 s quiet plain learn"},
      {kClickSound, "ClickSound=1", L"on 1.5 s sound plain learn"},
      {kHoverTimes[0], "HoverTime=500", L"on 0.5 s sound plain learn"},
      {kClickSound | 0xF, "ClickSound=0", L"on 0.5 s quiet plain learn"},
      {kHoverClick, "HoverClick=0", L"off 0.5 s quiet plain learn"},
      {kHoverClick, "HoverClick=1", L"on 0.5 s quiet plain learn"},
      {kWordPrediction, "Prediction=1", L"on 0.5 s quiet predict learn"},
      {kLearnWords | 0x2, "LearnWords=0", L"on 0.5 s quiet predict forget"},
      {kWordPrediction | 0xF, "Prediction=0", L"on 0.5 s quiet plain forget"},
      {kWordPrediction, "Prediction=1", L"on 0.5 s quiet predict forget"},
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
  EXPECT_EQ(Shown(again.Handle()), L"on 0.5 s quiet predict forget");
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

}  // namespace
}  // namespace luma::app
