// The pictures in the client area: the keys (the keyboard model and its
// bitmaps, the caption fonts) and, when shown, the row of words above them;
// the share of the client area each gets, painting, rescaling to the client
// size, and the poll of the foreground application's keyboard layout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/SystemServices.h"
#include "foreground/ForegroundCheck.h"
#include "foreground/LayoutPoll.h"
#include "keyboard/Captions.h"
#include "keyboard/Keyboard.h"
#include "placement/ClientRegions.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "scan/ScanPicture.h"
#include "scan/Scanner.h"
#include "theme/Theme.h"
#include "win32/GdiCanvas.h"
#include "win32/TextBitmap.h"
#include "win32/Win32System.h"
#include "wordrow/WordRow.h"

namespace luma::app {

class KeyboardView {
 public:
  // The model over the window's client area, in the default colors and fonts.
  void Create(HWND window, const SystemServices& services);
  // Colors from scheme 1..7; a keyboard already drawn is rebuilt in them.
  void SetColorScheme(int scheme);
  // The keyboard background, which the slider stands on.
  Color BackgroundColor() const;
  // The built-in layout of that name; returns its size, the reference for
  // rescaling.
  Size LoadLayout(const std::string& name);
  // The loaded layout's name and design size; empty before one is loaded.
  std::string LayoutName() const;
  Size DesignSize() const { return designSize_; }

  // Keyboard visible in a client area of this size: keys and fonts fitted to
  // it, painting on and, unless minimised, the layout poll running.
  void Show(std::int32_t width, std::int32_t height);
  // Minimised: the layout poll stops. Restored: the layout is read at once
  // and polled again.
  void SetMinimised(bool minimised);
  // Keys, fonts, row and pictures for a client area of this size.
  void Resize(std::int32_t width, std::int32_t height);
  // The row of words above the keys, or none: the keys get the client area
  // left, at the next Resize.
  void SetRowShown(bool shown);
  bool RowShown() const { return rowShown_; }
  // The client height that keeps the keys as tall as they are in a client
  // area clientHeight tall with the row as it was, with the row as it is to be.
  std::int32_t ClientHeightFor(bool rowWasShown, bool rowShown, std::int32_t clientHeight) const;
  // Null until Create has succeeded.
  WordRow* Row() { return row_.get(); }
  // Told the cell whose word was chosen.
  void OnRowChosen(std::function<void(int cell)> chosen) { rowChosen_ = std::move(chosen); }
  // Where the keys' picture starts in the client area.
  Point KeyOrigin() const { return screen_ ? screen_->Origin() : Point{}; }
  // Draws the scan's highlight over the keys and the row of words; for the
  // scanner's SetListener. Null until Create has succeeded.
  ScanListener* ScanHighlightListener() { return scanPicture_.get(); }
  // Where the transparency slider goes in a client area of this size.
  Rect SliderArea(std::int32_t width, std::int32_t height, std::int32_t dpi) const;
  void Paint();
  void OnLayoutPollTimer();
  void Stop();

  // Null until Create has succeeded.
  Keyboard* Model() { return keyboard_.get(); }
  // The system's key sender, looking at the window in front before each key.
  KeySender& Sender() { return *checkedSender_; }

 private:
  void Fit(std::int32_t width, std::int32_t height);
  ClientRegions Regions(std::int32_t width, std::int32_t height) const;
  // The row's bounds and the keys' origin for a client area of this size.
  void PlaceRow(std::int32_t width, std::int32_t height);
  // A window that cannot be typed into came to the front, or went: the
  // title says so and the keys are dimmed, or both go back to normal.
  void ShowCannotType(bool cannotType);
  // The scheme's colors, dimmed while the window in front cannot be typed into.
  void ApplyColors();
  static std::int32_t FontDpi();

  HWND window_ = nullptr;
  SystemColors* systemColors_ = nullptr;
  CursorSink* cursor_ = nullptr;
  // The model's own parts besides the system's services.
  CaptionCache captions_;
  win32::TextBitmap textBitmap_;
  win32::GdiBitmapFactory bitmaps_;
  std::unique_ptr<win32::WindowScreen> screen_;  // the keys'
  std::unique_ptr<win32::WindowScreen> rowScreen_;
  std::unique_ptr<WordRow> row_;
  bool rowShown_ = false;
  std::function<void(int cell)> rowChosen_;
  std::unique_ptr<win32::WindowTimer> layoutPollTimer_;
  win32::Win32ForegroundLayout foregroundLayout_;
  Theme theme_;
  ThemeColors themeColors_;
  int scheme_ = 0;
  std::unique_ptr<ForegroundCheck> foregroundCheck_;
  std::unique_ptr<CheckingKeySender> checkedSender_;
  std::unique_ptr<Keyboard> keyboard_;
  std::unique_ptr<LayoutPoll> layoutPoll_;
  // The client size the keys and fonts were last fitted to.
  Size designSize_;
  std::int32_t fittedWidth_ = -1;
  std::int32_t fittedHeight_ = -1;
  // Draws over the keyboard's and the row's pictures: gone before them.
  std::unique_ptr<ScanPicture> scanPicture_;
};

}  // namespace luma::app
