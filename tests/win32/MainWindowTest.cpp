// The real main window in this process, over settings held in memory: its
// system menu (another process cannot read it under Wine), what it reads at
// creation, what it saves when destroyed in each show state, Change Colors,
// and failures of the store reported while the window still comes up whole;
// a DPI change (Wine never sends one itself); the keyboard switch and its
// failed write; the foreground and a hover around the move and menu loops, a
// hover and the slider, a locked Shift at minimising and at a switch; over
// lent services, the title and dimming while a window that cannot be typed
// into is in front, the hourglass while a layout loads, and word prediction:
// the window growing by the row and shrinking back at two DPIs and
// maximised, the row and the keys hit where they are drawn, the choices
// through the settings file, and the learned words forgotten.
#include <windows.h>

#include <gtest/gtest.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <climits>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "SettingsFakes.h"
#include "TestSupport.h"
#include "app/MainWindow.h"
#include "app/TimerIds.h"
#include "app/WindowTitle.h"
#include "platform/Integrity.h"
#include "platform/System.h"
#include "settings/SettingsStore.h"
#include "win32/ExceptionBoundary.h"
#include "win32/IniFileBackEnd.h"
#include "win32/RegistryBackEnd.h"

namespace luma::app {
namespace {

// The system's services, but for the keys, which stay in the test, the
// cursor, which is only recorded, and the window in front with its level,
// which the test sets.
struct LentServices : IntegrityProbe, KeySender, CursorSink, LearnedWordsStorage {
  WindowId foreground = 0;
  std::map<WindowId, IntegrityOrder> levels;  // missing: the same as the keyboard's
  std::vector<KeyEvent> sent;
  std::vector<bool> busy;  // each change of the cursor: true for the hourglass
  win32::Win32KeyboardLayouts layouts;
  win32::Win32SystemColors colors;

  WindowId ForegroundWindow() override { return foreground; }
  IntegrityOrder CompareWithOwn(WindowId window) override {
    const auto level = levels.find(window);
    return level == levels.end() ? IntegrityOrder::kEqual : level->second;
  }
  std::uint16_t ScanCode(std::uint16_t vk) override {
    return static_cast<std::uint16_t>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  }
  void Send(const KeyEvent& event) override { sent.push_back(event); }
  void GetKeyboardState(KeyStateArray& state) override { state.fill(0); }
  void SetBusy(bool on) override { busy.push_back(on); }
  std::string learned;  // the learned-words file
  FileContent Read() override { return {FileContent::Status::kRead, learned}; }
  bool Write(std::string_view text) override { return learned = text, true; }
  bool Delete() override { return learned.clear(), true; }

  SystemServices Lend() { return {layouts, *this, *this, colors, *this, *this}; }
  bool SentKeyDown(std::uint16_t vk) const {
    for (const KeyEvent& event : sent)
      if (event.vk == vk && (event.flags & kKeyEventKeyUp) == 0) return true;
    return false;
  }
};

std::wstring Title(HWND window) {
  wchar_t text[128] = {};
  GetWindowTextW(window, text, 128);
  return text;
}

constexpr UINT kAutoClick = 1027, kChangeColors = 1028, kFullKeyboard = 0x0410,
               kWordPrediction = 0x0420, kLearnWords = 0x0430, kForgetLearnedWords = 0x0440;

bool Checked(HWND window, UINT command) {
  return (GetMenuState(GetSystemMenu(window, FALSE), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

HWND Slider(HWND window) { return FindWindowExW(window, nullptr, TRACKBAR_CLASSW, nullptr); }

// The color the slider's background is painted with.
COLORREF SliderBackground(HWND window) {
  HDC dc = GetDC(window);
  const auto brush =
      reinterpret_cast<HBRUSH>(SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(Slider(window))));
  ReleaseDC(window, dc);
  LOGBRUSH info{};
  if (!brush || !GetObjectW(brush, sizeof(info), &info)) return CLR_INVALID;
  return info.lbColor;
}

// Shown, and given the time to draw and then to add the slider.
void ShowWithSlider(MainWindow& window, int command = SW_SHOWNOACTIVATE) {
  window.Show(command);
  win32::test::PumpUntil([&] { return Slider(window.Handle()) != nullptr; }, 5000);
  win32::test::PumpUntilIdle();
}

SIZE ClientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return SIZE{r.right, r.bottom};
}

// Key centres of the built-in keyboard at its design size, in client pixels.
constexpr POINT kKeyL{315, 105};
constexpr POINT kLeftShift{25, 135};

LPARAM ClientPoint(POINT p) { return MAKELPARAM(p.x, p.y); }

POINT ScreenPoint(HWND window, POINT p) {
  ClientToScreen(window, &p);
  return p;
}

// The hover's timer steps, more than the longest hover time takes.
void StepHoverToTheEnd(HWND window) {
  for (int i = 0; i < 60; ++i) SendMessageW(window, WM_TIMER, kHoverTimer, 0);
}

// The client pixels of area as the screen shows them, read in one copy.
std::vector<std::uint32_t> Pixels(HWND window, RECT area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<std::uint32_t> pixels;
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    pixels.assign(first, first + static_cast<std::size_t>(width) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixels;
}

// A left click at a client point, as the mouse sends it.
void Click(HWND window, POINT p) {
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(p));
  SendMessageW(window, WM_LBUTTONUP, 0, ClientPoint(p));
}

bool SawKey(const win32::test::RecordingWindow& window, UINT message, WPARAM vk) {
  for (const auto& key : window.keys)
    if (key.message == message && key.wParam == vk) return true;
  return false;
}

// The user closing the menu: from inside the menu loop the test started.
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

bool QuitPosted() {
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
}

// A main window over settings in memory, on lent services or the system's
// own; once open, shown with its slider; destroyed with the scope.
struct TestWindow {
  explicit TestWindow(bool lent = true, ProcessSteps steps = {}) {
    if (lent) {
      window.emplace(settings, services.Lend(), steps);
    } else {
      window.emplace(settings, steps);
    }
  }
  ~TestWindow() {
    if (IsWindow(Handle())) DestroyWindow(Handle());
    QuitPosted();
  }
  bool Open() {
    if (!window->Create(GetModuleHandleW(nullptr))) return false;
    ShowWithSlider(*window);
    return true;
  }
  HWND Handle() { return window->Handle(); }

  LentServices services;
  fakes::MemorySettings settings;
  std::optional<MainWindow> window;
};

TEST(MainWindowTest, ChangeColorsWritesAtOnceAndRepaintsTheSliderInTheScheme) {
  // (stored "Colors", written, slider background after the command)
  const struct {
    std::int32_t stored;
    std::int32_t written;
    COLORREF background;
  } cases[] = {{3, 4, RGB(0x20, 0x20, 0x20)}, {2, 3, RGB(0xFF, 0xFF, 0xFF)},
               {6, 7, RGB(0xFE, 0xFE, 0xFE)}, {4, 5, RGB(0xE9, 0xEC, 0xEF)},
               {INT_MAX, 1, CLR_INVALID},     {-7, 1, CLR_INVALID}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.stored);
    TestWindow window(false);
    window.settings.values["Colors"] = c.stored;
    ASSERT_TRUE(window.Open());
    const COLORREF atStart = SliderBackground(window.Handle());
    SendMessageW(window.Handle(), WM_SYSCOMMAND, kChangeColors, 0);
    EXPECT_EQ(window.settings.values["Colors"], c.written);
    EXPECT_EQ(window.settings.writes.back(), "Colors=" + std::to_string(c.written));
    if (c.background != CLR_INVALID) {
      EXPECT_EQ(SliderBackground(window.Handle()), c.background);
    } else {
      // Out of range: scheme 1 at start, and scheme 1 after the command.
      EXPECT_NE(atStart, RGB(0, 0, 0));
      EXPECT_EQ(SliderBackground(window.Handle()), atStart);
    }
  }
}

TEST(MainWindowTest, StoredValuesAreShownAndSavedWithThePlacementOfEachShowState) {
  enum class Left { kNormal, kMinimised, kMaximised, kMinimisedFromMaximised };
  const struct {
    Left left;
    const char* state;
    bool rectangle;  // Top, Left, Height and Width written
  } cases[] = {{Left::kNormal, "0", true},
               {Left::kMinimised, "0", true},
               {Left::kMaximised, "1", false},
               {Left::kMinimisedFromMaximised, "1", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.left));
    fakes::MemorySettings settings;
    settings.values = {{"AlphaBlend", 5},
                       {"AutoClick", 0},
                       {"TMainFormLeft", 120},
                       {"TMainFormTop", 140},
                       {"TMainFormWidth", 500},
                       {"TMainFormHeight", 260},
                       {"Site", 1}};
    MainWindow window(settings);
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    HWND hwnd = window.Handle();
    RECT placed{};
    GetWindowRect(hwnd, &placed);
    EXPECT_EQ(placed.left, 120);
    EXPECT_EQ(placed.top, 140);
    EXPECT_EQ(placed.right - placed.left, 500);
    EXPECT_EQ(placed.bottom - placed.top, 260);
    // "AlphaBlend" 5 fades the window to the slider's least, 20, before the
    // slider is there: it comes after the first picture.
    BYTE alpha = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(hwnd, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 20);
    EXPECT_EQ(Slider(hwnd), nullptr);

    // What is saved is the normal rectangle the window has once shown (the
    // window manager of the test display may still move a window it maps).
    ShowWithSlider(window, SW_SHOWNORMAL);
    EXPECT_EQ(SendMessageW(Slider(hwnd), TBM_GETPOS, 0, 0), 20);
    GetWindowRect(hwnd, &placed);
    if (c.left == Left::kMaximised || c.left == Left::kMinimisedFromMaximised)
      ShowWindow(hwnd, SW_MAXIMIZE);
    if (c.left == Left::kMinimised || c.left == Left::kMinimisedFromMaximised)
      ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
    win32::test::PumpUntilIdle();
    settings.writes.clear();
    DestroyWindow(hwnd);
    EXPECT_TRUE(QuitPosted());

    std::vector<std::string> expected = {"AutoClick=0", "AlphaBlend=20"};
    if (c.rectangle) {
      expected.insert(expected.end(), {"TMainFormTop=" + std::to_string(placed.top),
                                       "TMainFormLeft=" + std::to_string(placed.left),
                                       "TMainFormHeight=260", "TMainFormWidth=500"});
    }
    expected.push_back(std::string("TMainFormState=") + c.state);
    EXPECT_EQ(settings.writes, expected);
  }
}

TEST(MainWindowTest, AFailingStoreIsReportedAndTheWindowComesUpWhole) {
  fakes::MemorySettings settings;
  settings.broken = true;
  fakes::RecordingErrors reporter;
  ProcessSteps steps;
  steps.errors = &reporter;
  MainWindow window(settings, steps);
  ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
  HWND hwnd = window.Handle();
  // Color scheme, the options, placement, transparency, first run.
  EXPECT_EQ(reporter.messages, std::vector<std::string>(5, "settings broke"));

  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, 441);  // the layout is loaded
  EXPECT_EQ(client.bottom, 181);
  ShowWithSlider(window);
  EXPECT_EQ(SendMessageW(Slider(hwnd), TBM_GETPOS, 0, 0), 255);
  EXPECT_NE(SliderBackground(hwnd), RGB(0, 0, 0));
  EXPECT_TRUE(Checked(hwnd, kAutoClick));

  // Saving fails too: reported, and the message loop still ends.
  reporter.messages.clear();
  DestroyWindow(hwnd);
  EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(reporter.messages, std::vector<std::string>{"settings broke"});
  EXPECT_TRUE(QuitPosted());
}

// What reaches the main window while a DPI change is handled: WM_SIZE is
// sent, WM_PAINT comes through the queue.
struct WindowTraffic {
  HWND window = nullptr;
  int sizes = 0;
  int paints = 0;
};
WindowTraffic traffic;

LRESULT CALLBACK CountSent(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->hwnd == traffic.window && sent->message == WM_SIZE)
    ++traffic.sizes;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountQueued(int code, WPARAM wParam, LPARAM lParam) {
  const auto* queued = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && queued->hwnd == traffic.window &&
      queued->message == WM_PAINT)
    ++traffic.paints;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

TEST(MainWindowTest, ADpiChangeTakesTheSuggestedRectangleAndRedrawsOnce) {
  TestWindow window(false);
  ASSERT_TRUE(window.Open());
  HWND hwnd = window.Handle();

  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  RECT client{};
  GetClientRect(hwnd, &client);
  const RECT outer = WindowRect(hwnd);
  const LONG frameW = (outer.right - outer.left) - client.right;
  const LONG frameH = (outer.bottom - outer.top) - client.bottom;
  // 150 %: the design client area at 144 DPI in the frame the window has.
  const LONG left = workArea.left + 100, top = workArea.top + 100;
  const RECT at150{left, top, left + 662 + frameW, top + 272 + frameH};
  // The same size again, 5 pixels off the work area's left edge: a move
  // there would snap, a suggested rectangle must not.
  const RECT nearEdge{workArea.left + 5, top, workArea.left + 5 + (at150.right - at150.left),
                      at150.bottom};

  HHOOK sentHook = SetWindowsHookExW(WH_CALLWNDPROC, CountSent, nullptr, GetCurrentThreadId());
  HHOOK queuedHook = SetWindowsHookExW(WH_GETMESSAGE, CountQueued, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(sentHook && queuedHook);
  // (suggested rectangle, whether the size changes)
  for (const auto& [suggested, resized] : {std::pair{at150, true}, {nearEdge, false}}) {
    SCOPED_TRACE(resized);
    traffic = {hwnd, 0, 0};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    win32::test::PumpUntil(
        [&] {
          const RECT r = WindowRect(hwnd);
          return EqualRect(&suggested, &r) != FALSE;
        },
        5000);
    win32::test::PumpUntilIdle();
    const RECT now = WindowRect(hwnd);
    EXPECT_EQ(
        (std::vector<LONG>{now.left, now.top, now.right, now.bottom}),
        (std::vector<LONG>{suggested.left, suggested.top, suggested.right, suggested.bottom}));
    EXPECT_EQ(traffic.sizes, resized ? 1 : 0);
    EXPECT_EQ(traffic.paints, resized ? 1 : 0);
    // At 144 DPI the slider may be 36 high; the space bar is 45.
    RECT slider{};
    GetWindowRect(Slider(hwnd), &slider);
    EXPECT_EQ(slider.bottom - slider.top, 36);
    EXPECT_EQ(slider.right - slider.left, 90);  // the right Shift key
  }
  UnhookWindowsHookEx(queuedHook);
  UnhookWindowsHookEx(sentHook);

  // A message without its rectangle changes nothing.
  const RECT before = WindowRect(hwnd);
  SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
  EXPECT_EQ(WindowRect(hwnd).right, before.right);
  DestroyWindow(hwnd);
  EXPECT_TRUE(QuitPosted());
}

// Loading a layout, at creation and at each switch, shows the hourglass until
// the keys are built and drawn.
TEST(MainWindowTest, FullKeyboardSwitchesKeepingTheKeySizeAndIsRemembered) {
  const auto slider = [](HWND hwnd) {
    RECT r{};
    GetWindowRect(Slider(hwnd), &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  // (stored "Keyboard", Full at start)
  for (const auto& [stored, full] : {std::pair{-1, false}, {1, true}, {7, false}, {0, false}}) {
    SCOPED_TRACE(stored);
    TestWindow window;
    if (stored >= 0) window.settings.values["Keyboard"] = stored;
    ASSERT_TRUE(window.Open());
    HWND hwnd = window.Handle();
    std::vector<bool> busy = {true, false};  // each change of the cursor
    EXPECT_EQ(window.services.busy, busy);
    const std::vector<std::string>& writes = window.settings.writes;
    EXPECT_EQ(Checked(hwnd, kFullKeyboard), full);
    EXPECT_EQ(ClientSize(hwnd).cx, full ? 671 : 441);
    EXPECT_TRUE(writes.empty() || writes.back().rfind("Keyboard=", 0) == std::string::npos);

    // Twice, the second time with low bits the system may add: back as it was.
    for (const WPARAM command : {WPARAM{0x410}, WPARAM{0x41F}}) {
      const bool nowFull = command == 0x410 ? !full : full;
      SendMessageW(hwnd, WM_SYSCOMMAND, command, 0);
      win32::test::PumpFor(50);
      EXPECT_EQ(writes.back(), nowFull ? "Keyboard=1" : "Keyboard=0");
      busy.insert(busy.end(), {true, false});
      EXPECT_EQ(window.services.busy, busy);
      EXPECT_EQ(Checked(hwnd, kFullKeyboard), nowFull);
      EXPECT_EQ(ClientSize(hwnd).cx, nowFull ? 671 : 441);
      EXPECT_EQ(ClientSize(hwnd).cy, 181);
      const RECT r = slider(hwnd);
      EXPECT_EQ(r.right, ClientSize(hwnd).cx);
      EXPECT_EQ(nowFull ? r.top : r.bottom, nowFull ? 0 : 181);
    }

    // Maximised it stays so, at the same size.
    ShowWindow(hwnd, SW_MAXIMIZE);
    win32::test::PumpFor(50);
    const SIZE maximised = ClientSize(hwnd);
    SendMessageW(hwnd, WM_SYSCOMMAND, kFullKeyboard, 0);
    win32::test::PumpFor(50);
    EXPECT_TRUE(IsZoomed(hwnd));
    EXPECT_EQ(ClientSize(hwnd).cx, maximised.cx);
    EXPECT_EQ(ClientSize(hwnd).cy, maximised.cy);
  }
}

// A failed write of "Keyboard" is reported over the finished switch: the
// other keyboard already shown at its width, its menu item checked.
TEST(MainWindowTest, FullKeyboardIsWrittenOnlyOnceTheSwitchIsShown) {
  fakes::RecordingErrors reporter;
  ProcessSteps steps;
  steps.errors = &reporter;
  TestWindow window(false, steps);
  ASSERT_TRUE(window.Open());
  HWND hwnd = window.Handle();
  fakes::MemorySettings& settings = window.settings;
  std::vector<std::pair<LONG, bool>> atWrite;  // (client width, checked)
  settings.beforeWrite = [&](const std::string& name) {
    if (name != "Keyboard") return;
    atWrite.emplace_back(ClientSize(hwnd).cx, Checked(hwnd, kFullKeyboard));
    throw std::runtime_error("settings broke");
  };
  for (const bool full : {true, false}) {
    SCOPED_TRACE(full);
    SendMessageW(hwnd, WM_SYSCOMMAND, kFullKeyboard, 0);
    win32::test::PumpUntilIdle();
    EXPECT_EQ(Checked(hwnd, kFullKeyboard), full);
  }
  EXPECT_EQ(atWrite, (std::vector<std::pair<LONG, bool>>{{671, true}, {441, false}}));
  EXPECT_EQ(reporter.messages, std::vector<std::string>(2, "settings broke"));
  settings.beforeWrite = nullptr;
}

// The test window in front and the keyboard shown, Hover Click on with the
// longest time or off: what the keyboard types reaches the test window.
class KeyboardBesideApplication {
 public:
  // stored: more values in the store at the start.
  explicit KeyboardBesideApplication(bool hoverClick,
                                     const std::map<std::string, std::int32_t>& stored = {}) {
    settings_.values = {{"HoverClick", hoverClick ? 1 : 0}, {"HoverTime", 5000}};
    settings_.values.insert(stored.begin(), stored.end());
    // In front first: the keyboard shows its keys as for that window from
    // the start.
    activated_ = win32::test::Activate(typedInto.Handle());
    // Off the keyboard, which comes up where an earlier one left the pointer.
    SetCursorPos(0, 0);
    created_ = window_.Create(GetModuleHandleW(nullptr));
    if (!created_) return;
    ShowWithSlider(window_);
  }
  ~KeyboardBesideApplication() {
    if (created_) DestroyWindow(window_.Handle());
    QuitPosted();
  }
  bool Ready() const { return created_ && activated_; }
  HWND Keyboard() { return window_.Handle(); }

  // The real pointer, and a move reported at once, so that nothing waits for
  // the system to report it.
  void PointerTo(POINT client) {
    const POINT screen = ScreenPoint(Keyboard(), client);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(Keyboard(), WM_MOUSEMOVE, 0, ClientPoint(client));
  }

  win32::test::RecordingWindow typedInto{L"typed into"};

 private:
  fakes::MemorySettings settings_;
  MainWindow window_{settings_};
  bool created_ = false;
  bool activated_ = false;
};

// What the keyboard holds, a hover on L (the longest hover time) or a Shift
// held for the press delay, ends when the keys are left. A press on the
// caption or the system menu icon takes the foreground for the move or menu
// loop, and the application has it again when the loop is over; the hover is
// over, also under a menu opened without a press, and the next starts at the
// next move onto a key. The pointer on the transparency slider takes the
// progress mark with the hover. Minimising or a switch lets the Shift go in
// the system, where the application sees it up.
TEST(MainWindowTest, AHoverOrALockedShiftEndsWhenTheKeysAreLeft) {
  enum class Away { kCaption, kMenuIcon, kAltSpace, kSlider, kMinimise, kSwitch };
  const struct {
    const char* what;
    Away away;
    std::int32_t keyboard;  // stored "Keyboard"
  } cases[] = {
      {"caption clicked", Away::kCaption, 0},
      {"system menu icon clicked", Away::kMenuIcon, 0},
      {"system menu by Alt+Space", Away::kAltSpace, 0},
      {"pointer onto the slider", Away::kSlider, 0},
      {"minimised", Away::kMinimise, 0},
      {"to the full keyboard", Away::kSwitch, 0},
      {"back to the standard one", Away::kSwitch, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const bool hover = c.away < Away::kMinimise;
    KeyboardBesideApplication keyboard(hover, {{"Keyboard", c.keyboard}});
    ASSERT_TRUE(keyboard.Ready());
    HWND hwnd = keyboard.Keyboard();
    const RECT keyL{kKeyL.x - 12, kKeyL.y - 12, kKeyL.x + 13, kKeyL.y + 13};
    const std::vector<std::uint32_t> atRest = Pixels(hwnd, keyL);
    if (hover) {
      keyboard.PointerTo(kKeyL);
      const std::vector<std::uint32_t> hot = Pixels(hwnd, keyL);
      for (int i = 0; i < 20; ++i) SendMessageW(hwnd, WM_TIMER, kHoverTimer, 0);
      EXPECT_NE(Pixels(hwnd, keyL), hot) << "no progress mark";
    } else {
      keyboard.PointerTo(kLeftShift);
      SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(kLeftShift));
      SendMessageW(hwnd, WM_TIMER, kPressTimer, 0);
      SendMessageW(hwnd, WM_LBUTTONUP, 0, ClientPoint(kLeftShift));
      // Locked, not latched: an ordinary key leaves it down.
      Click(hwnd, kKeyL);
      ASSERT_TRUE(
          win32::test::PumpUntil([&] { return SawKey(keyboard.typedInto, WM_KEYUP, 'L'); }));
      EXPECT_TRUE(SawKey(keyboard.typedInto, WM_KEYDOWN, VK_SHIFT));
      // Seen by its messages only: Wine puts the system's state of a modifier
      // back to the X server's, where no Shift is down, at focus changes.
      EXPECT_FALSE(SawKey(keyboard.typedInto, WM_KEYUP, VK_SHIFT));
    }

    RECT frame{}, slider{};
    GetWindowRect(hwnd, &frame);
    GetWindowRect(Slider(hwnd), &slider);
    const LPARAM onFrame = MAKELPARAM(frame.left + 8, frame.top + 8);
    const UINT_PTR closer = SetTimer(nullptr, 0, 100, CloseMenu);
    switch (c.away) {
      case Away::kCaption:
        SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, onFrame);
        break;
      case Away::kMenuIcon:
        SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTSYSMENU, onFrame);
        break;
      case Away::kAltSpace:
        SendMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
        break;
      case Away::kSlider:
        SetCursorPos((slider.left + slider.right) / 2, (slider.top + slider.bottom) / 2);
        EXPECT_TRUE(win32::test::PumpUntil([&] { return Pixels(hwnd, keyL) == atRest; }, 5000));
        break;
      case Away::kMinimise:
        ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
        break;
      case Away::kSwitch:
        SendMessageW(hwnd, WM_SYSCOMMAND, kFullKeyboard, 0);
        break;
    }
    KillTimer(nullptr, closer);
    if (!hover) {
      EXPECT_TRUE(
          win32::test::PumpUntil([&] { return SawKey(keyboard.typedInto, WM_KEYUP, VK_SHIFT); }));
      EXPECT_FALSE(GetAsyncKeyState(VK_LSHIFT) & 0x8000);
      continue;
    }
    if (c.away != Away::kSlider) {
      EXPECT_TRUE(win32::test::PumpUntil(
          [&] { return GetForegroundWindow() == keyboard.typedInto.Handle(); }, 5000));
      // The system reports the pointer where it rests once the loop lets it go.
      SendMessageW(hwnd, WM_MOUSEMOVE, 0, ClientPoint(kKeyL));
    }
    StepHoverToTheEnd(hwnd);
    win32::test::PumpUntilIdle();
    EXPECT_TRUE(keyboard.typedInto.keys.empty());
    keyboard.PointerTo({kKeyL.x + 2, kKeyL.y + 2});
    StepHoverToTheEnd(hwnd);
    EXPECT_TRUE(win32::test::PumpUntil([&] { return SawKey(keyboard.typedInto, WM_KEYUP, 'L'); }));
  }
}

// Switch scanning in the window: the switch keys, sent as a switch
// interface sends them (through the system's input, without the program's
// mark), reach the scan and never the application; a mouse press on the keys
// is the switch where chosen; the switch brings a minimised keyboard back.
// The scan never steps by itself here (the longest speed) and ignores no
// press (no lockout): picks follow the presses alone.
TEST(MainWindowTest, SwitchScanningPicksWithTheSwitchesAndTheApplicationSeesOnlyTheKeys) {
  const std::map<std::string, std::int32_t> scanning = {
      {"ScanKeys", 1}, {"ScanTime", 5000}, {"ScanLockout", 0}};
  const auto with = [&](std::map<std::string, std::int32_t> more) {
    more.insert(scanning.begin(), scanning.end());
    return more;
  };
  const struct {
    const char* what;
    std::map<std::string, std::int32_t> stored;
    // S: Space, E: Enter, C: a left click on L, M: minimise.
    const char* steps;
    WPARAM typed;  // the one key the application sees go down
  } cases[] = {
      {"automatic: the top row, then its first key", scanning, "SS", VK_ESCAPE},
      {"step: Enter steps to the next row", with({{"ScanMode", 1}}), "ESS", VK_OEM_3},
      {"click is switch", with({{"ScanClickSwitch", 1}}), "CC", VK_ESCAPE},
      {"the switch brings the keyboard back", scanning, "MSSS", VK_ESCAPE},
      {"scanning off: Space is typing", {{"ScanClickSwitch", 1}}, "S", VK_SPACE},
      {"scanning off: a click clicks", {{"ScanClickSwitch", 1}}, "C", 'L'},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    KeyboardBesideApplication keyboard(false, c.stored);
    ASSERT_TRUE(keyboard.Ready());
    HWND hwnd = keyboard.Keyboard();
    keyboard.typedInto.keys.clear();
    for (const char* step = c.steps; *step; ++step) {
      if (*step == 'C') {
        keyboard.PointerTo(kKeyL);
        Click(hwnd, kKeyL);
      } else if (*step == 'M') {
        ShowWindow(hwnd, SW_SHOWMINNOACTIVE);
        ASSERT_TRUE(win32::test::Activate(keyboard.typedInto.Handle()));
      } else {
        INPUT input[2]{};
        input[0].type = INPUT_KEYBOARD;
        input[0].ki.wVk = *step == 'S' ? VK_SPACE : VK_RETURN;
        input[1] = input[0];
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
      }
      win32::test::PumpFor(100);
      win32::test::PumpUntilIdle();
    }
    EXPECT_TRUE(
        win32::test::PumpUntil([&] { return SawKey(keyboard.typedInto, WM_KEYDOWN, c.typed); }));
    for (const WPARAM other : {WPARAM{VK_SPACE}, WPARAM{VK_RETURN}, WPARAM{'L'}, WPARAM{VK_ESCAPE}})
      if (other != c.typed) {
        EXPECT_FALSE(SawKey(keyboard.typedInto, WM_KEYDOWN, other)) << other;
      }
    EXPECT_FALSE(IsIconic(hwnd));
  }
}

// A key typed with a window of a higher level in front reaches nothing: the
// title says why and the keys are dimmed until another window is in front.
TEST(MainWindowTest, AWindowThatCannotBeTypedIntoChangesTheTitleAndDimsTheKeys) {
  constexpr WindowId kElevated = 0x1230, kOrdinary = 0x4560;
  TestWindow window;
  LentServices& services = window.services;
  services.levels = {{kElevated, IntegrityOrder::kHigher}, {kOrdinary, IntegrityOrder::kLower}};
  services.foreground = kOrdinary;
  SetCursorPos(0, 0);  // off the keyboard: no hover redraws a key
  ASSERT_TRUE(window.Open());
  HWND hwnd = window.Handle();
  // The Escape key, away from the key clicked.
  const RECT escape{5, 5, 25, 25};
  const std::vector<std::uint32_t> normal = Pixels(hwnd, escape);
  EXPECT_EQ(Title(hwnd), kAppTitle);

  const struct {
    WindowId inFront;
    const wchar_t* title;
    bool dimmed;
  } steps[] = {{kElevated, kCannotTypeTitle, true}, {kOrdinary, kAppTitle, false}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.dimmed);
    services.foreground = step.inFront;
    services.sent.clear();
    Click(hwnd, kKeyL);
    // Told by the click itself, before any poll could run; the key goes out
    // whatever the answer.
    EXPECT_TRUE(services.SentKeyDown('L'));
    EXPECT_EQ(Title(hwnd), step.title);
    win32::test::PumpUntilIdle();
    EXPECT_EQ(Pixels(hwnd, escape) != normal, step.dimmed);
  }
}

// The virtual keys pressed, in order.
std::string KeysDown(const LentServices& services) {
  std::string keys;
  for (const KeyEvent& event : services.sent)
    if ((event.flags & (kKeyEventKeyUp | kKeyEventUnicode)) == 0)
      keys += static_cast<char>(event.vk);
  return keys;
}

// The text sent as characters.
std::u16string TextSent(const LentServices& services) {
  std::u16string text;
  for (const KeyEvent& event : services.sent)
    if ((event.flags & kKeyEventUnicode) && !(event.flags & kKeyEventKeyUp))
      text += static_cast<char16_t>(event.scan);
  return text;
}

// The window manager's answer to a change of size comes a little later; a
// second change before it would be undone by it.
void Choose(HWND window, UINT command) {
  SendMessageW(window, WM_SYSCOMMAND, command, 0);
  win32::test::PumpFor(100);
  win32::test::PumpUntilIdle();
}

// Switched on, the row comes above the keys and the window grows by it: the
// keys keep their size, picture and places, each a row's height lower, also
// across the switch to the full keyboard and back, and the row without words
// is background; switched off, the window is as it was to the pixel. At 144 DPI too, which only a
// DPI change gives the window here.
TEST(MainWindowTest, WordPredictionGrowsTheWindowByTheRowAndTheKeysKeepTheirSize) {
  const struct {
    UINT dpi;
    SIZE keys;  // the client size without the row
    LONG row;
  } cases[] = {{96, {441, 181}, 30}, {144, {662, 272}, 45}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    SetCursorPos(0, 0);  // off the keyboard: no key is drawn hot
    TestWindow window;
    ASSERT_TRUE(window.Open());
    HWND hwnd = window.Handle();
    LentServices& services = window.services;
    if (c.dpi != 96) {
      // Near the top of the work area, all of it on the screen.
      RECT outer = WindowRect(hwnd);
      const SIZE now = ClientSize(hwnd);
      RECT workArea{};
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
      OffsetRect(&outer, workArea.left + 100 - outer.left, workArea.top + 100 - outer.top);
      outer.right += c.keys.cx - now.cx;
      outer.bottom += c.keys.cy - now.cy;
      SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), reinterpret_cast<LPARAM>(&outer));
      win32::test::PumpUntilIdle();
    }
    ASSERT_EQ(ClientSize(hwnd).cx, c.keys.cx);
    ASSERT_EQ(ClientSize(hwnd).cy, c.keys.cy);
    const std::vector<std::uint32_t> keys = Pixels(hwnd, {0, 0, c.keys.cx, c.keys.cy});
    // The L key and the O key above it, at this size.
    const auto scaled = [&](POINT p) {
      return POINT{MulDiv(p.x, c.keys.cx, 441), MulDiv(p.y, c.keys.cy, 181)};
    };
    const POINT keyL = scaled(kKeyL), escape = scaled({15, 15});

    Choose(hwnd, kWordPrediction);
    EXPECT_EQ(ClientSize(hwnd).cx, c.keys.cx);
    EXPECT_EQ(ClientSize(hwnd).cy, c.keys.cy + c.row);
    EXPECT_TRUE(Pixels(hwnd, {0, c.row, c.keys.cx, c.row + c.keys.cy}) == keys)
        << "the keys are drawn at another size or place";
    // (client point, keys pressed): a key is where it is drawn, and the
    // row, holding no word yet, types nothing.
    const struct {
      POINT at;
      const char* typed;
    } presses[] = {{{keyL.x, keyL.y + c.row}, "L"},
                   {keyL, "O"},
                   {{escape.x, escape.y + c.row}, "\x1B"},
                   {{escape.x, c.row / 2}, ""},
                   {{c.keys.cx / 2, c.row - 1}, ""}};
    for (const auto& press : presses) {
      SCOPED_TRACE(press.typed);
      services.sent.clear();
      Click(hwnd, press.at);
      EXPECT_EQ(KeysDown(services), press.typed);
    }
    // The row without words is background: a drag from it moves the window.
    const RECT before = WindowRect(hwnd);
    const POINT onRow{escape.x, c.row / 2}, from = ScreenPoint(hwnd, onRow);
    SetCursorPos(from.x, from.y);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(onRow));
    SetCursorPos(from.x + 40, from.y);
    SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, ClientPoint({onRow.x + 40, onRow.y}));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, ClientPoint({onRow.x + 40, onRow.y}));
    SetCursorPos(0, 0);
    win32::test::PumpFor(100);
    EXPECT_EQ(WindowRect(hwnd).left, before.left + 40);
    EXPECT_EQ(WindowRect(hwnd).top, before.top);
    // The full keyboard and back, at the same key size, under the row.
    for (const LONG width : {LONG{MulDiv(c.keys.cx, 671, 441)}, c.keys.cx}) {
      Choose(hwnd, kFullKeyboard);
      EXPECT_EQ(ClientSize(hwnd).cx, width);
      EXPECT_EQ(ClientSize(hwnd).cy, c.keys.cy + c.row);
    }

    Choose(hwnd, kWordPrediction);
    EXPECT_EQ(ClientSize(hwnd).cx, c.keys.cx);
    EXPECT_EQ(ClientSize(hwnd).cy, c.keys.cy);
    // Given the time to draw, which a busy machine may take.
    EXPECT_TRUE(win32::test::PumpUntil(
        [&] {
          return Pixels(hwnd, {0, 0, c.keys.cx, c.keys.cy}) == keys;
        },
        5000));
    services.sent.clear();
    Click(hwnd, keyL);
    EXPECT_EQ(KeysDown(services), "L");
  }
}

// Maximised, the window keeps its size and the keys make room for the row;
// the size it is restored to follows the option as the keys would have it,
// and the application typed into keeps the foreground.
TEST(MainWindowTest, AMaximisedWindowStaysMaximisedWhileTheRowComesAndGoes) {
  win32::test::RecordingWindow typedInto(L"typed into");
  TestWindow window;
  ASSERT_TRUE(window.Open());
  HWND hwnd = window.Handle();
  LentServices& services = window.services;
  ShowWindow(hwnd, SW_MAXIMIZE);
  win32::test::PumpUntilIdle();
  const SIZE maximised = ClientSize(hwnd);
  // (row shown, client height once restored)
  for (const auto& [shown, restoredHeight] : {std::pair{true, 211}, {false, 181}}) {
    SCOPED_TRACE(shown);
    if (!IsZoomed(hwnd)) ShowWindow(hwnd, SW_MAXIMIZE);
    ASSERT_TRUE(win32::test::Activate(typedInto.Handle()));
    Choose(hwnd, kWordPrediction);
    EXPECT_TRUE(IsZoomed(hwnd));
    EXPECT_EQ(ClientSize(hwnd).cx, maximised.cx);
    EXPECT_EQ(ClientSize(hwnd).cy, maximised.cy);
    EXPECT_EQ(GetForegroundWindow(), typedInto.Handle());
    // Escape in the top-left corner, under the row while it is there.
    services.sent.clear();
    Click(hwnd, {5, 5});
    EXPECT_EQ(KeysDown(services), shown ? "" : "\x1B");

    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    win32::test::PumpUntilIdle();
    EXPECT_FALSE(IsZoomed(hwnd));
    EXPECT_EQ(ClientSize(hwnd).cx, 441);
    EXPECT_EQ(ClientSize(hwnd).cy, restoredHeight);
  }
}

// Through the settings file as the program keeps it: each choice is a line
// at once, and the next start reads it back, the row shown and the keys at
// the size they had.
TEST(MainWindowTest, WordPredictionChoicesAreLinesOfTheSettingsFileTheNextStartShows) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder =
      std::string(temp) + "lumatype-prediction-" + std::to_string(GetCurrentProcessId()) + "\\";
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  SettingsLocation location;
  location.keyPath = "SOFTWARE\\Halvorin\\LumatypeTest" + std::to_string(GetCurrentProcessId());
  win32::Win32RegistryKey registry;
  win32::Win32ProfileFile profile;
  win32::Win32FileSystem files;
  fakes::RecordingErrors errors;
  const std::string ini = folder + kIniFileName;
  const auto line = [&](const std::string& name) {
    const std::string text = files.ReadWhole(ini).bytes;
    const std::size_t at = text.find("\r\n" + name + "=");
    return at == std::string::npos ? std::string()
                                   : text.substr(at + 2, text.find("\r\n", at + 2) - at - 2);
  };
  // One start each: the commands chosen, the lines then, the client height
  // and the menu's checks at the next start.
  const struct {
    std::vector<UINT> commands;
    const char* prediction;
    const char* learnWords;
    LONG nextHeight;
    bool nextPredicts;
    bool nextLearns;
  } starts[] = {
      {{kWordPrediction, kLearnWords}, "Prediction=1", "LearnWords=0", 211, true, false},
      {{}, "Prediction=1", "LearnWords=0", 211, true, false},
      {{kLearnWords, kWordPrediction}, "Prediction=0", "LearnWords=1", 181, false, true},
  };
  // A start over the settings file: the window shown, what body does, closed.
  const auto startOverFile = [&](const std::function<void(HWND, LentServices&)>& body) {
    SettingsStore store(registry, profile, errors, location);
    ASSERT_TRUE(store.BindIniFile(folder, files));
    LentServices services;
    MainWindow window(store, services.Lend());
    ASSERT_TRUE(window.Create(GetModuleHandleW(nullptr)));
    ShowWithSlider(window);
    body(window.Handle(), services);
    DestroyWindow(window.Handle());
    QuitPosted();
  };
  for (const auto& start : starts) {
    SCOPED_TRACE(start.prediction);
    startOverFile([&](HWND hwnd, LentServices&) {
      for (const UINT command : start.commands) Choose(hwnd, command);
      EXPECT_EQ(line("Prediction"), start.prediction);
      EXPECT_EQ(line("LearnWords"), start.learnWords);
    });
    startOverFile([&](HWND hwnd, LentServices& services) {
      EXPECT_EQ(ClientSize(hwnd).cx, 441);
      EXPECT_EQ(ClientSize(hwnd).cy, start.nextHeight);
      EXPECT_EQ(Checked(hwnd, kWordPrediction), start.nextPredicts);
      EXPECT_EQ(Checked(hwnd, kLearnWords), start.nextLearns);
      Click(hwnd, {kKeyL.x, kKeyL.y + start.nextHeight - 181});
      EXPECT_EQ(KeysDown(services), "L");
    });
  }
  EXPECT_TRUE(errors.messages.empty());
  DeleteFileA(ini.c_str());
  RemoveDirectoryA(folder.c_str());
  RegDeleteTreeA(HKEY_CURRENT_USER, location.keyPath.c_str());
}

// The user answering the box a command opens, from inside its modal loop.
int boxAnswer = IDNO;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND box = FindWindowW(L"#32770", L"Lumatype"))
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(boxAnswer), 0);
}

// A learned word is offered for its first letters (capitalised at the start
// of the text); once the user says yes to forgetting, it is gone from the
// row and from the kept file, also after the exit saves.
TEST(MainWindowTest, ForgettingLearnedWordsEmptiesWhatIsKept) {
  const std::string kept = "[en]\nword 3 10 qjorb\n";
  const struct {
    int answer;
    bool keptAfter;               // the word still in the file
    std::u16string offeredAfter;  // what choosing cell 0 types then
  } rows[] = {{IDYES, false, u""}, {IDNO, true, u"Qjorb "}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.answer);
    TestWindow window;
    LentServices& services = window.services;
    services.learned = kept;
    window.settings.values["Prediction"] = 1;
    ASSERT_TRUE(window.Open());
    HWND hwnd = window.Handle();
    // Nothing saved: the window opens with the row above keys of their size.
    const LONG rowHeight = ClientSize(hwnd).cy - 181;
    EXPECT_EQ(rowHeight, 30);
    const auto typeQjAndChooseTheFirstCell = [&] {
      services.sent.clear();
      Click(hwnd, {65, 75 + rowHeight});    // Q
      Click(hwnd, {255, 105 + rowHeight});  // J
      win32::test::PumpUntilIdle();
      Click(hwnd, {441 / 10, rowHeight / 2});
      return TextSent(services);
    };
    EXPECT_EQ(typeQjAndChooseTheFirstCell(), u"Qjorb ");

    boxAnswer = r.answer;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerBox);
    Choose(hwnd, kForgetLearnedWords);
    KillTimer(nullptr, timer);
    EXPECT_EQ(services.learned == kept, r.keptAfter);
    EXPECT_EQ(typeQjAndChooseTheFirstCell(), r.offeredAfter);
    DestroyWindow(hwnd);
    QuitPosted();
    EXPECT_EQ(services.learned.find("qjorb") != std::string::npos, r.keptAfter);
  }
}

}  // namespace
}  // namespace luma::app
