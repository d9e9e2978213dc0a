#include "app/KeyboardView.h"

#include "placement/Dpi.h"
#include "keyboard/KeyFonts.h"
#include "placement/SliderRect.h"
#include "theme/Theme.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

namespace luma::app {
namespace {

constexpr int kDefaultColorScheme = 1;

}  // namespace

void KeyboardView::Create(HWND window, SystemServices& services) {
  window_ = window;
  systemColors_ = &services.colors;
  screen_ = std::make_unique<win32::WindowScreen>(window);
  layoutPollTimer_ = std::make_unique<win32::WindowTimer>(window, kLayoutPollTimerId);
  const KeyboardDeps deps{
      bitmaps_, *screen_,          services.layouts,    services.sender, services.busyCursor,
      theme_,   services.captions, &services.textBitmap};
  keyboard_ = std::make_unique<Keyboard>(deps, foregroundLayout_.Read());
  // Nothing is drawn until the window is first shown: the scheme, layout and
  // sizes set during creation would each draw a picture nobody sees.
  keyboard_->SetPaintingEnabled(false);
  layoutPoll_ = std::make_unique<LayoutPoll>(*keyboard_, *layoutPollTimer_, foregroundLayout_);
  keyboard_->SetMarkerFaceLiteral(false);
  SetUpTheme(services);
  keyboard_->ChooseNamesLayout();
}

void KeyboardView::SetUpTheme(SystemServices& services) {
  themeColors_ = ComputeThemeColors(services.colors, win32::QueryVisualStyle());
  theme_.KeyFontSmall = KeyFont{"Tahoma", 8, true};
  theme_.KeyFontLarge = KeyFont{"Tahoma", 10, true};
  ApplyColorScheme(kDefaultColorScheme, theme_, themeColors_, services.colors);
}

void KeyboardView::SetColorScheme(int scheme) {
  if (!systemColors_) return;
  ApplyColorScheme(scheme, theme_, themeColors_, *systemColors_);
  if (keyboard_) keyboard_->Redraw(true);
}

Color KeyboardView::BackgroundColor() const { return theme_.BackColor; }

Size KeyboardView::LoadLayout() {
  if (!keyboard_) return {};
  keyboard_->LoadLayout("Standard");
  FitKeyFonts();
  keyboard_->Redraw(false);
  return {keyboard_->Width(), keyboard_->Height()};
}

void KeyboardView::Show(std::int32_t width, std::int32_t height) {
  if (!keyboard_) return;
  keyboard_->SetShown(true);
  // Keys and fonts for the client area, then the first picture, once: with
  // painting still off, Redraw only marks the base image for rebuilding.
  Fit(width, height);
  keyboard_->Redraw(true);
  keyboard_->SetPaintingEnabled(true);
  if (!IsIconic(window_)) layoutPoll_->Resume();
}

void KeyboardView::SetMinimised(bool minimised) {
  if (!layoutPoll_) return;
  if (minimised)
    layoutPoll_->Pause();
  else
    layoutPoll_->Resume();
}

void KeyboardView::Resize(std::int32_t width, std::int32_t height) {
  // The size notification that follows the first show repeats its size.
  if (!keyboard_ || (width == fittedWidth_ && height == fittedHeight_)) return;
  Fit(width, height);
  keyboard_->Redraw(true);
}

void KeyboardView::Fit(std::int32_t width, std::int32_t height) {
  keyboard_->ScaleToClient(width, height);
  FitKeyFonts();
  fittedWidth_ = width;
  fittedHeight_ = height;
}

// The caption fonts follow the Escape key's size, and only that: GDI makes
// points larger at a higher DPI on its own, which the fit takes back out.
void KeyboardView::FitKeyFonts() {
  const Size escape = keyboard_->EscapeKeySize();
  const KeyFontSizes sizes =
      FitKeyFontSizes(escape.cx, escape.cy, static_cast<std::int32_t>(win32::FontDpi()));
  theme_.KeyFontLarge.Size = sizes.large;
  theme_.KeyFontSmall.Size = sizes.small;
}

Rect KeyboardView::SliderArea(std::int32_t width, std::int32_t height, std::int32_t dpi) const {
  // Without a model the slider keeps its design size.
  if (!keyboard_) return SliderRect(width, height, ScaleForDpi(kSliderDesignWidth, dpi),
                                           ScaleForDpi(kSliderDesignHeight, dpi), dpi);
  return SliderRect(width, height, keyboard_->RightShiftWidth(), keyboard_->SpaceBarHeight(), dpi);
}

void KeyboardView::Paint() {
  win32::PaintDc paint(window_);
  if (keyboard_) win32::PaintBitmap(paint.Get(), keyboard_->WorkImage(), paint.Area());
}

bool KeyboardView::OnTimer(UINT_PTR id) {
  if (id != kLayoutPollTimerId) return false;
  if (layoutPoll_) layoutPoll_->Tick();
  return true;
}

void KeyboardView::Stop() {
  if (layoutPoll_) layoutPoll_->Pause();
}

}  // namespace luma::app
