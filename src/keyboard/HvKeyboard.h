// The keyboard model: 255 keys, the base and working images, the hover key,
// the model's own keyboard state, redraw control and the caption lookup.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "keyboard/HvBtn.h"
#include "platform/Canvas.h"
#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

// The built-in layout description "Standard".
extern const std::string_view kStandardLayoutText;

struct KeyboardDeps {
  BitmapFactory& bitmaps;
  Screen& screen;  // the paint box
  KeyboardLayouts& layouts;
  KeySender& sender;
  CursorSink& cursor;
  Bitmap* textBitmap = nullptr;  // process-wide TextBitmap; text on pure-green faces
};

class THvKeyboard {
 public:
  // Create: foregroundHkl is the layout of the foreground window's thread.
  THvKeyboard(const KeyboardDeps& deps, Hkl foregroundHkl);
  ~THvKeyboard();
  THvKeyboard(const THvKeyboard&) = delete;
  THvKeyboard& operator=(const THvKeyboard&) = delete;

  // Layout description and loader (HvLayout.cpp).
  bool LoadLayout(const std::string& name);  // always the built-in text
  bool LoadLayoutText(const std::string& name, std::string_view text);

  // Layout tracking and captions (HvCaptions.cpp).
  void SetHKL(Hkl hkl);
  void SetNamesLayout(Hkl hkl);
  void RemapPositions();
  void SelectCaptionTable();
  char16_t CaptionFor(int vk) const;
  char16_t CaptionAt(int vk, int shift, int alt, int ctrl, int caps) const;

  // Model (HvKeyboard.cpp).
  void Clear();
  void CopyToScreen();
  void Redraw(bool rebuildBase);
  void ReleaseAll();
  void TrackPointer(std::int32_t x, std::int32_t y);
  void ClearHot(bool copyNow);
  void SetSize(std::int32_t height, std::int32_t width);
  void SetMarkerFaceLiteral(bool value);
  bool IsKeyDown(int vk) const;
  void SetShown(bool value);
  void SetPaintingEnabled(bool value);
  // Called by a key whose Down changed: key state, then the redraw decision.
  void KeyDownChanged(THvBtn& key);
  void UpdateKeyState(int vk, bool down);

  THvBtn* Btn(int vk) const { return (vk >= 1 && vk <= 255) ? FBtns[vk].get() : nullptr; }
  std::int32_t Width() const { return FWidth; }
  std::int32_t Height() const { return FHeight; }
  Bitmap& WorkImage() { return *FWorkImage; }
  const KeyboardDeps& Deps() const { return FDeps; }

  // Fields are public so that key drawing, the press logic and the tests read
  // them directly; only the model's own operations write them.
  KeyboardDeps FDeps;
  Screen* FPaintBox;
  bool FShown = false;
  bool FPaintingEnabled = true;
  THvBtn* FHotBtn = nullptr;
  Hkl FCurrentHKL = 0;
  std::size_t FCaptionTableIndex = 0;
  bool FMarkerFaceLiteral = false;
  std::unique_ptr<Bitmap> FBaseImage;
  bool FBaseStale = true;
  Hkl FNamesHKL = 0;
  std::array<std::unique_ptr<THvBtn>, 256> FBtns;  // index 0 unused
  std::string FLayoutName;
  std::string FLayoutComment;
  std::string FLayoutInfo;
  KeyStateArray FKeyState{};
  std::array<std::u16string, 256> FKeyNames;  // index 0 unused
  std::int32_t FWidth = 0;
  std::int32_t FHeight = 0;
  std::unique_ptr<Bitmap> FWorkImage;
};

}  // namespace luma
