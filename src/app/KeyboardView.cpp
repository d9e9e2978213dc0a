#include "app/KeyboardView.h"

#include "app/BusyCursor.h"
#include "app/TimerIds.h"
#include "app/WindowTitle.h"
#include "keyboard/KeyboardStart.h"
#include "placement/Dpi.h"
#include "placement/SliderRect.h"
#include "theme/Dimming.h"
#include "theme/Theme.h"
#include "win32/Dpi.h"
#include "win32/Handles.h"

namespace luma::app {
namespace {

constexpr int kDefaultColorScheme = 1;

}  // namespace

void KeyboardView::Create(HWND window, const SystemServices& services) {
  window_ = window;
  systemColors_ = &services.colors;
  screen_ = std::make_unique<win32::WindowScreen>(window);
  layoutPollTimer_ = std::make_unique<win32::WindowTimer>(window, kLayoutPollTimer);
  cursor_ = &services.cursor;
  foregroundCheck_ = std::make_unique<ForegroundCheck>(
      services.integrity, [this](bool cannotType) { ShowCannotType(cannotType); });
  checkedSender_ = std::make_unique<CheckingKeySender>(services.sender, *foregroundCheck_);
  const KeyboardDeps deps{bitmaps_, *screen_,  services.layouts, services.sender,
                          theme_,   captions_, &textBitmap_};
  keyboard_ = CreateKeyboard(deps, theme_, foregroundLayout_.Read());
  rowScreen_ = std::make_unique<win32::WindowScreen>(window);
  row_ = std::make_unique<WordRow>(
      WordRowDeps{bitmaps_, *rowScreen_, theme_, services.colors, &textBitmap_}, [this](int cell) {
        if (rowChosen_) rowChosen_(cell);
      });
  row_->SetShown(false);
  scanPicture_ = std::make_unique<ScanPicture>(*keyboard_, services.colors, row_.get());
  layoutPoll_ = std::make_unique<LayoutPoll>(*keyboard_, *layoutPollTimer_, foregroundLayout_);
  themeColors_ = ComputeThemeColors(services.colors, win32::QueryVisualStyle());
  scheme_ = kDefaultColorScheme;
  ApplyColors();
}

void KeyboardView::SetColorScheme(int scheme) {
  if (!systemColors_) return;
  if (scheme >= 1 && scheme <= 7) scheme_ = scheme;
  ApplyColors();
  if (keyboard_) keyboard_->Picture().Redraw(true);
  if (row_) row_->Redraw();
}

void KeyboardView::ApplyColors() {
  ApplyColorScheme(scheme_, theme_, themeColors_, *systemColors_);
  if (foregroundCheck_ && foregroundCheck_->CannotType())
    static_cast<SchemeColors&>(theme_) = DimmedColors(theme_, *systemColors_);
}

void KeyboardView::ShowCannotType(bool cannotType) {
  SetWindowTextW(window_, cannotType ? kCannotTypeTitle : kAppTitle);
  if (!systemColors_) return;
  ApplyColors();
  if (keyboard_) keyboard_->Picture().Redraw(true);
  if (row_) row_->Redraw();
}

Color KeyboardView::BackgroundColor() const { return theme_.BackColor; }

Size KeyboardView::LoadLayout(const std::string& name) {
  if (!keyboard_) return {};
  {
    // Nothing answers the pointer while the keys are built and drawn.
    const BusyCursor busy(*cursor_);
    LoadBuiltInLayout(*keyboard_, theme_, name, FontDpi());
  }
  // The new keys are at their design size: the next resize fits them.
  fittedWidth_ = fittedHeight_ = -1;
  designSize_ = {keyboard_->Width(), keyboard_->Height()};
  return designSize_;
}

std::string KeyboardView::LayoutName() const {
  return keyboard_ ? keyboard_->LayoutName() : std::string();
}

void KeyboardView::Show(std::int32_t width, std::int32_t height) {
  if (!keyboard_) return;
  PlaceRow(width, height);
  const Rect keys = Regions(width, height).keys;
  ShowKeyboard(*keyboard_, theme_, keys.Width(), keys.Height(), FontDpi());
  fittedWidth_ = width;
  fittedHeight_ = height;
  if (!IsIconic(window_)) {
    layoutPoll_->Resume();
    foregroundCheck_->Update();
  }
}

void KeyboardView::SetMinimised(bool minimised) {
  if (!layoutPoll_) return;
  if (minimised) {
    layoutPoll_->Pause();
  } else {
    layoutPoll_->Resume();
    foregroundCheck_->Update();
  }
}

void KeyboardView::Resize(std::int32_t width, std::int32_t height) {
  // The size notification that follows the first show repeats its size.
  if (!keyboard_ || (width == fittedWidth_ && height == fittedHeight_)) return;
  Fit(width, height);
  keyboard_->Picture().Redraw(true);
}

void KeyboardView::Fit(std::int32_t width, std::int32_t height) {
  PlaceRow(width, height);
  const Rect keys = Regions(width, height).keys;
  FitKeyboard(*keyboard_, theme_, keys.Width(), keys.Height(), FontDpi());
  fittedWidth_ = width;
  fittedHeight_ = height;
}

ClientRegions KeyboardView::Regions(std::int32_t width, std::int32_t height) const {
  return LayOutClient(width, height, rowShown_ ? RowHeightFor(height, designSize_.cy) : 0);
}

void KeyboardView::PlaceRow(std::int32_t width, std::int32_t height) {
  const ClientRegions regions = Regions(width, height);
  screen_->SetOrigin({regions.keys.left, regions.keys.top});
  if (scanPicture_) scanPicture_->SetKeyOrigin({regions.keys.left, regions.keys.top});
  if (!row_) return;
  row_->SetShown(rowShown_);
  if (rowShown_) row_->SetBounds(regions.itemRow, FontDpi());
}

void KeyboardView::SetRowShown(bool shown) {
  if (shown == rowShown_) return;
  rowShown_ = shown;
  // The next Resize fits the keys to what is left.
  fittedWidth_ = fittedHeight_ = -1;
}

std::int32_t KeyboardView::ClientHeightFor(bool rowWasShown, bool rowShown,
                                           std::int32_t clientHeight) const {
  const std::int32_t keysHeight =
      rowWasShown ? clientHeight - RowHeightFor(clientHeight, designSize_.cy) : clientHeight;
  return rowShown ? ClientHeightWithRow(keysHeight, designSize_.cy) : keysHeight;
}

std::int32_t KeyboardView::FontDpi() { return static_cast<std::int32_t>(win32::FontDpi()); }

Rect KeyboardView::SliderArea(std::int32_t width, std::int32_t height, std::int32_t dpi) const {
  // Without a model the slider keeps its design size.
  if (!keyboard_)
    return SliderRect(width, height, ScaleForDpi(kSliderDesignWidth, dpi),
                      ScaleForDpi(kSliderDesignHeight, dpi), dpi);
  // In the keys' corner, below a row of words.
  const Rect keys = Regions(width, height).keys;
  Rect r = SliderRect(keys.Width(), keys.Height(), keyboard_->RightShiftWidth(),
                      keyboard_->SpaceBarHeight(), dpi, keyboard_->FreeCorner());
  r.top += keys.top;
  r.bottom += keys.top;
  return r;
}

void KeyboardView::Paint() {
  win32::PaintDc paint(window_);
  if (keyboard_)
    win32::PaintBitmap(paint.Get(), keyboard_->Picture().WorkImage(), paint.Area(),
                       screen_->Origin());
  if (row_ && rowShown_) win32::PaintBitmap(paint.Get(), row_->Image(), paint.Area());
}

// The poll that follows the foreground layout also notices a window that
// cannot be typed into coming to the front, or going.
void KeyboardView::OnLayoutPollTimer() {
  if (layoutPoll_) layoutPoll_->Tick();
  if (foregroundCheck_) foregroundCheck_->Update();
}

void KeyboardView::Stop() {
  if (layoutPoll_) layoutPoll_->Pause();
}

}  // namespace luma::app
