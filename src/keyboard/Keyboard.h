// The keyboard model: 255 keys, the base and working images, the hover key,
// the model's own keyboard state, redraw control and the caption lookup.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "keyboard/Key.h"
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

class Keyboard {
 public:
  // Create: foregroundHkl is the layout of the foreground window's thread.
  Keyboard(const KeyboardDeps& deps, Hkl foregroundHkl);
  ~Keyboard();
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  // Layout description and loader (LayoutLoader.cpp).
  bool LoadLayout(const std::string& name);  // always the built-in text
  bool LoadLayoutText(const std::string& name, std::string_view text);

  // Layout tracking and captions (LayoutTracking.cpp).
  void SetHKL(Hkl hkl);
  void SetNamesLayout(Hkl hkl);
  void RemapPositions();
  void SelectCaptionTable();
  char16_t CaptionFor(int vk) const;
  char16_t CaptionAt(int vk, int shift, int alt, int ctrl, int caps) const;

  // Model (Keyboard.cpp).
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
  void KeyDownChanged(Key& key);
  void UpdateKeyState(int vk, bool down);

  Key* Btn(int vk) const { return (vk >= 1 && vk <= 255) ? btns_[vk].get() : nullptr; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  Bitmap& WorkImage() { return *workImage_; }
  const KeyboardDeps& Deps() const { return deps_; }

  // Fields are public so that key drawing, the press logic and the tests read
  // them directly; only the model's own operations write them.
  KeyboardDeps deps_;
  Screen* paintBox_;
  bool shown_ = false;
  bool paintingEnabled_ = true;
  Key* hotBtn_ = nullptr;
  Hkl currentHkl_ = 0;
  std::size_t captionTableIndex_ = 0;
  bool markerFaceLiteral_ = false;
  std::unique_ptr<Bitmap> baseImage_;
  bool baseStale_ = true;
  Hkl namesHkl_ = 0;
  std::array<std::unique_ptr<Key>, 256> btns_;  // index 0 unused
  std::string layoutName_;
  std::string layoutComment_;
  std::string layoutInfo_;
  KeyStateArray keyState_{};
  std::array<std::u16string, 256> keyNames_;  // index 0 unused
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::unique_ptr<Bitmap> workImage_;
};

}  // namespace luma
