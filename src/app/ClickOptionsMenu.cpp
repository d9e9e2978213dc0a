#include "app/ClickOptionsMenu.h"

#include "settings/ClickOptions.h"

namespace luma::app {
namespace {

constexpr const wchar_t* kHoverTimeLabels[] = {L"0.5 s", L"0.75 s", L"1 s",
                                               L"1.5 s", L"2 s",    L"3 s"};
static_assert(std::size(kHoverTimeLabels) == ClickOptionsMenu::kHoverTimesMs.size());

constexpr UINT HoverTimeCommand(std::size_t i) {
  return ClickOptionsMenu::kFirstHoverTime + static_cast<UINT>(i) * 0x10;
}

void SetCheck(HMENU menu, UINT id, bool checked) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace

void ClickOptionsMenu::Create(HWND window) {
  window_ = window;
  HMENU menu = GetSystemMenu(window, FALSE);
  hoverTimes_ = CreatePopupMenu();
  for (std::size_t i = 0; i < kHoverTimesMs.size(); ++i) {
    AppendMenuW(hoverTimes_, MF_STRING, HoverTimeCommand(i), kHoverTimeLabels[i]);
    MENUITEMINFOW radio{};
    radio.cbSize = sizeof(radio);
    radio.fMask = MIIM_FTYPE;
    radio.fType = MFT_RADIOCHECK;
    SetMenuItemInfoW(hoverTimes_, HoverTimeCommand(i), FALSE, &radio);
  }
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kHoverClick, L"Hover Click");
  // The system menu owns the submenu from here and destroys it with itself.
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(hoverTimes_), L"Hover Time");
  AppendMenuW(menu, MF_STRING, kClickSound, L"Click Sound");
}

void ClickOptionsMenu::Show() {
  if (!window_) return;
  HMENU menu = GetSystemMenu(window_, FALSE);
  SetCheck(menu, kHoverClick, input_.HoverClickOn());
  SetCheck(menu, kClickSound, sound_.Enabled());
  for (std::size_t i = 0; i < kHoverTimesMs.size(); ++i)
    SetCheck(hoverTimes_, HoverTimeCommand(i), input_.HoverTimeMs() == kHoverTimesMs[i]);
}

bool ClickOptionsMenu::OnCommand(WPARAM command) {
  const UINT id = static_cast<UINT>(command & 0xFFF0);
  // The menu shows the choice before the store is asked, which may fail.
  if (id == kHoverClick) {
    input_.SetHoverClick(!input_.HoverClickOn());
    Show();
    settings_.WriteBool(kHoverClickValue, input_.HoverClickOn());
  } else if (id == kClickSound) {
    sound_.SetEnabled(!sound_.Enabled());
    Show();
    settings_.WriteBool(kClickSoundValue, sound_.Enabled());
  } else if (id >= kFirstHoverTime && id < HoverTimeCommand(kHoverTimesMs.size())) {
    const std::int32_t ms = kHoverTimesMs[(id - kFirstHoverTime) / 0x10];
    input_.SetHoverTimeMs(ms);
    Show();
    settings_.WriteInteger(kHoverTimeValue, ms);
  } else {
    return false;
  }
  return true;
}

}  // namespace luma::app
