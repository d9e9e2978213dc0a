#include "app/KeyboardView.h"

#include <vector>

#include "lib/WorkArea.h"
#include "theme/Theme.h"
#include "win32/Handles.h"

namespace luma::app {
namespace {

constexpr std::uint32_t kLayoutPollMs = 300;
constexpr int kDefaultColorScheme = 1;
constexpr int kMaxInstalledLayouts = 40;
constexpr int kEscape = 0x1B;
constexpr int kRightShift = 0xA1;
constexpr int kSpaceBar = 0x20;
// The slider's size while a layout lacks the keys it is measured by.
constexpr std::int32_t kSliderWidth = 62;
constexpr std::int32_t kSliderHeight = 24;

Hkl ForegroundLayout() {
  const DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
  return win32::FromHkl(GetKeyboardLayout(thread));
}

}  // namespace

void KeyboardView::Create(HWND window, SystemServices& services) {
  window_ = window;
  systemColors_ = &services.colors;
  screen_ = std::make_unique<win32::WindowScreen>(window);
  layoutPoll_ = std::make_unique<win32::WindowTimer>(window, kLayoutPollTimerId);
  const KeyboardDeps deps{bitmaps_,        *screen_,        services.layouts,
                          services.sender, services.cursor, &win32::TextBitmap()};
  keyboard_ = std::make_unique<Keyboard>(deps, ForegroundLayout());
  keyboard_->SetMarkerFaceLiteral(false);
  SetUpTheme(services);
  ChooseNamesLayout(services.layouts);
}

void KeyboardView::SetUpTheme(SystemServices& services) {
  ThemeColorsOf = ComputeThemeColors(services.colors, win32::QueryVisualStyle());
  HvTheme.KeyFontSmall = KeyFont{"Tahoma", 8, true};
  HvTheme.KeyFontLarge = KeyFont{"Tahoma", 10, true};
  ApplyColorScheme(kDefaultColorScheme, HvTheme, ThemeColorsOf, services.colors);
}

void KeyboardView::SetColorScheme(int scheme) {
  if (!systemColors_) return;
  ApplyColorScheme(scheme, HvTheme, ThemeColorsOf, *systemColors_);
  if (keyboard_) keyboard_->Redraw(true);
}

Color KeyboardView::BackgroundColor() const { return HvTheme.BackColor; }

// Character positions are named by US English when it is installed, else by
// the first installed layout.
void KeyboardView::ChooseNamesLayout(KeyboardLayouts& layouts) {
  const std::vector<Hkl> installed = layouts.List(kMaxInstalledLayouts);
  if (!installed.empty()) keyboard_->SetNamesLayout(installed.front());
  for (Hkl hkl : installed) {
    if ((hkl & 0xFFFFFFFFu) == kUsEnglishHkl) {
      keyboard_->SetNamesLayout(kUsEnglishHkl);
      break;
    }
  }
}

void KeyboardView::LoadLayout() {
  if (!keyboard_) return;
  keyboard_->LoadLayout("Standard");
  layoutWidth_ = keyboard_->Width();
  layoutHeight_ = keyboard_->Height();
  FitKeyFonts();
  keyboard_->Redraw(false);
}

void KeyboardView::Show() {
  if (!keyboard_) return;
  keyboard_->SetShown(true);
  keyboard_->SetPaintingEnabled(true);
  layoutPoll_->Start(kLayoutPollMs);
}

void KeyboardView::Resize(std::int32_t width, std::int32_t height) {
  if (!keyboard_) return;
  keyboard_->SetSize(height, width);
  ScaleKeys();
  FitKeyFonts();
  keyboard_->Redraw(true);
}

// The keyboard is stretched to fill the client area; each key scales from
// its design points, so repeated resizing accumulates no error.
void KeyboardView::ScaleKeys() {
  // A failed load leaves no reference size to scale from.
  if (layoutWidth_ <= 0 || layoutHeight_ <= 0) return;
  const long double kx =
      static_cast<long double>(keyboard_->Width()) / static_cast<long double>(layoutWidth_);
  const long double ky =
      static_cast<long double>(keyboard_->Height()) / static_cast<long double>(layoutHeight_);
  for (int vk = 1; vk <= 255; ++vk)
    if (Key* key = keyboard_->Btn(vk)) key->ScaleOutline(kx, ky);
}

// The caption fonts follow the Escape key's size; without one they stay.
void KeyboardView::FitKeyFonts() {
  const Key* escape = keyboard_->Btn(kEscape);
  if (escape == nullptr) return;
  const KeyFontSizes sizes = FitKeyFontSizes(escape->OutlineWidth(), escape->OutlineHeight());
  HvTheme.KeyFontLarge.Size = sizes.large;
  HvTheme.KeyFontSmall.Size = sizes.small;
}

Rect KeyboardView::SliderArea(std::int32_t width, std::int32_t height) const {
  const Key* rightShift = keyboard_ ? keyboard_->Btn(kRightShift) : nullptr;
  const Key* spaceBar = keyboard_ ? keyboard_->Btn(kSpaceBar) : nullptr;
  return SliderRect(width, height, rightShift ? rightShift->OutlineWidth() : kSliderWidth,
                    spaceBar ? spaceBar->OutlineHeight() : kSliderHeight);
}

void KeyboardView::Paint() {
  win32::PaintDc paint(window_);
  if (keyboard_) win32::PaintBitmap(paint.Get(), keyboard_->WorkImage(), paint.Area());
}

bool KeyboardView::OnTimer(UINT_PTR id) {
  if (id != kLayoutPollTimerId) return false;
  if (keyboard_) keyboard_->SetHKL(ForegroundLayout());
  return true;
}

void KeyboardView::Stop() {
  if (layoutPoll_) layoutPoll_->Stop();
}

}  // namespace luma::app
