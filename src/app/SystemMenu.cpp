#include "app/SystemMenu.h"

#include <string>

#include "win32/Focus.h"
#include "win32/ProcAddress.h"

namespace luma::app {
namespace {

constexpr wchar_t kWebSiteHost[] = L"www.lumatype.org";

constexpr const wchar_t* kTimeLabels[] = {L"0.5 s", L"0.75 s", L"1 s", L"1.5 s", L"2 s", L"3 s"};
static_assert(std::size(kTimeLabels) == SystemMenu::kHoverTimesMs.size());
static_assert(std::size(kTimeLabels) == SystemMenu::kScanTimesMs.size());

// The items that switch one option on and off, with their check mark.
struct CheckItem {
  UINT id;
  bool Options::*value;
  Option option;
};
constexpr CheckItem kCheckItems[] = {
    {SystemMenu::kHoverClick, &Options::hoverClick, Option::kHoverClick},
    {SystemMenu::kClickSound, &Options::clickSound, Option::kClickSound},
    {SystemMenu::kWordPrediction, &Options::prediction, Option::kPrediction},
    {SystemMenu::kLearnWords, &Options::learnWords, Option::kLearnWords},
    {SystemMenu::kScanKeys, &Options::scanKeys, Option::kScanKeys},
    {SystemMenu::kClickIsSwitch, &Options::scanClickSwitch, Option::kScanClickSwitch},
};

// The submenus of times, an item every 0x10 from the first.
struct TimeItems {
  UINT first;
  std::int32_t Options::*value;
  Option option;
};
constexpr TimeItems kHoverTimeItems{SystemMenu::kFirstHoverTime, &Options::hoverTimeMs,
                                    Option::kHoverTime};
constexpr TimeItems kScanTimeItems{SystemMenu::kFirstScanTime, &Options::scanTimeMs,
                                   Option::kScanTime};
static_assert(SystemMenu::kHoverTimesMs == SystemMenu::kScanTimesMs);
const auto& kTimesMs = SystemMenu::kHoverTimesMs;

constexpr UINT TimeCommand(const TimeItems& items, std::size_t i) {
  return items.first + static_cast<UINT>(i) * 0x10;
}

void SetCheck(HMENU menu, UINT id, bool checked) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void AppendRadioItem(HMENU menu, UINT id, const wchar_t* label) {
  AppendMenuW(menu, MF_STRING, id, label);
  MENUITEMINFOW radio{};
  radio.cbSize = sizeof(radio);
  radio.fMask = MIIM_FTYPE;
  radio.fType = MFT_RADIOCHECK;
  SetMenuItemInfoW(menu, id, FALSE, &radio);
}

// shell32 is loaded when the site is first opened, not at every start, and
// stays: what ShellExecute starts may still be running in it.
void OpenWebSite(HWND owner) {
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  static const HMODULE shell = LoadLibraryW(L"shell32.dll");
  if (!shell) return;
  const auto shellExecute = win32::ProcAddress<ShellExecuteFn>(shell, "ShellExecuteW");
  if (shellExecute) shellExecute(owner, nullptr, kWebSiteHost, nullptr, L"", SW_SHOWNORMAL);
}

}  // namespace

void SystemMenu::Create(HWND window) {
  window_ = window;
  HMENU menu = GetSystemMenu(window, FALSE);
  hoverTimes_ = CreatePopupMenu();
  scanTimes_ = CreatePopupMenu();
  for (std::size_t i = 0; i < kTimesMs.size(); ++i) {
    AppendRadioItem(hoverTimes_, TimeCommand(kHoverTimeItems, i), kTimeLabels[i]);
    AppendRadioItem(scanTimes_, TimeCommand(kScanTimeItems, i), kTimeLabels[i]);
  }
  scanModes_ = CreatePopupMenu();
  AppendRadioItem(scanModes_, kScanAutomatic, L"Automatic (one switch)");
  AppendRadioItem(scanModes_, kScanStep, L"Step (two switches)");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kHoverClick, L"Hover Click");
  // The system menu owns the submenu from here and destroys it with itself.
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(hoverTimes_), L"Hover Time");
  AppendMenuW(menu, MF_STRING, kClickSound, L"Click Sound");

  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kWordPrediction, L"Word Prediction");
  AppendMenuW(menu, MF_STRING, kLearnWords, L"Learn Words");
  AppendMenuW(menu, MF_STRING | (forgetLearnedWords_ ? 0u : MF_GRAYED), kForgetLearnedWords,
              L"Forget Learned Words");

  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kScanKeys, L"Scan Keys");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(scanTimes_), L"Scan Speed");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(scanModes_), L"Scan Mode");
  AppendMenuW(menu, MF_STRING, kClickIsSwitch, L"Click Is Switch");

  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kAutoClick, L"Auto Click");
  AppendMenuW(menu, MF_STRING, kChangeColors, L"Change Colors");
  const std::wstring open = std::wstring(L"Open ") + kWebSiteHost;
  AppendMenuW(menu, MF_STRING, kOpenWebSite, open.c_str());
  AppendMenuW(menu, MF_STRING, kFullKeyboard, L"Full Keyboard");
}

void SystemMenu::Show() {
  if (!window_) return;
  HMENU menu = GetSystemMenu(window_, FALSE);
  for (const CheckItem& item : kCheckItems) SetCheck(menu, item.id, options_.*item.value);
  for (std::size_t i = 0; i < kTimesMs.size(); ++i) {
    SetCheck(hoverTimes_, TimeCommand(kHoverTimeItems, i), options_.hoverTimeMs == kTimesMs[i]);
    SetCheck(scanTimes_, TimeCommand(kScanTimeItems, i), options_.scanTimeMs == kTimesMs[i]);
  }
  ModifyMenuW(menu, kAutoClick,
              MF_BYCOMMAND | MF_STRING | (options_.keyRepeat ? MF_CHECKED : MF_UNCHECKED),
              kAutoClick, L"Auto Click");
  SetCheck(menu, kFullKeyboard, options_.keyboard == KeyboardChoice::kFull);
  SetCheck(scanModes_, kScanAutomatic, options_.scanMode == ScanMode::kAutomatic);
  SetCheck(scanModes_, kScanStep, options_.scanMode == ScanMode::kStep);
}

bool SystemMenu::OnCommand(WPARAM command) {
  switch (command) {
    case kAutoClick:
      options_.keyRepeat = !options_.keyRepeat;
      Chosen(Option::kKeyRepeat);
      return true;
    case kChangeColors:
      if (changeColors_) changeColors_();
      return true;
    case kOpenWebSite:
      OpenWebSite(window_);
      return true;
  }
  const UINT id = static_cast<UINT>(command & 0xFFF0);
  for (const CheckItem& item : kCheckItems) {
    if (id != item.id) continue;
    options_.*item.value = !(options_.*item.value);
    Chosen(item.option);
    return true;
  }
  for (const TimeItems& items : {kHoverTimeItems, kScanTimeItems}) {
    if (id < items.first || id >= TimeCommand(items, kTimesMs.size())) continue;
    options_.*items.value = kTimesMs[(id - items.first) / 0x10];
    Chosen(items.option);
    return true;
  }
  if (id == kFullKeyboard) {
    if (switchKeyboard_) switchKeyboard_();
  } else if (id == kForgetLearnedWords) {
    AskToForgetLearnedWords();
  } else if (id == kScanAutomatic || id == kScanStep) {
    options_.scanMode = id == kScanStep ? ScanMode::kStep : ScanMode::kAutomatic;
    Chosen(Option::kScanMode);
  } else {
    return false;
  }
  return true;
}

void SystemMenu::Chosen(Option option) {
  input_.ApplyOptions(options_);
  if (followScanning_) followScanning_();
  Show();
  WriteOption(settings_, options_, option);
}

// The box takes the foreground from the application typed into, and its
// owner, this window, would keep it after the box: it goes back to where it
// was, as after the menu.
void SystemMenu::AskToForgetLearnedWords() {
  if (!forgetLearnedWords_) return;
  HWND before = GetForegroundWindow();
  const int answer = MessageBoxW(window_,
                                 L"Forget the words Lumatype has learned, in every language?\n\n"
                                 L"The word lists it came with stay.",
                                 L"Lumatype", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
  if (before && before != window_) win32::ForceForegroundWindow(before, false);
  if (answer == IDYES) forgetLearnedWords_();
}

}  // namespace luma::app
