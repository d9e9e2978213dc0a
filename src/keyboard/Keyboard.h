// The keyboard model: 255 keys, their key state, the hover key, the layout
// they are loaded from and the size they are scaled to. It owns the picture
// the keys are drawn in and the captions they show.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/Captions.h"
#include "keyboard/Key.h"
#include "keyboard/KeyCaptions.h"
#include "keyboard/KeyPicture.h"
#include "placement/SliderRect.h"
#include "platform/Canvas.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "theme/Theme.h"

namespace luma {

// The built-in layout descriptions, by name; empty for a name of none.
inline constexpr std::string_view kStandardLayoutName = "Standard";
inline constexpr std::string_view kFullLayoutName = "Full";
extern const std::string_view kStandardLayoutText;
extern const std::string_view kFullLayoutText;
std::string_view BuiltInLayoutText(std::string_view name);
// The corner the built-in layout leaves free for the slider; the bottom
// right for a name of none.
SliderCorner BuiltInFreeCorner(std::string_view name);

// A point on the keys: the key there, and whether in its second outline.
struct KeyHit {
  Key* key = nullptr;  // none: off the keys
  bool secondPart = false;
};

// What the model works with; all of it owned by the program and outliving
// the model.
struct KeyboardDeps {
  BitmapFactory& bitmaps;
  Screen& screen;  // the window area that shows the picture
  KeyboardLayouts& layouts;
  KeySender& sender;
  const Theme& theme;  // read at every paint
  CaptionCache& captions;
  Bitmap* textBitmap = nullptr;  // text on background faces; none: drawn directly
};

class Keyboard {
 public:
  // foregroundHkl is the layout of the foreground window's thread.
  Keyboard(const KeyboardDeps& deps, Hkl foregroundHkl);
  ~Keyboard();
  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;

  // Layout description and loader (LayoutLoader.cpp).
  // The built-in layout of that name; false for a name of none, whose load
  // leaves the keys as they are.
  bool LoadLayout(const std::string& name);
  bool LoadLayoutText(const std::string& name, std::string_view text);
  const std::string& LayoutName() const { return layoutName_; }
  const std::string& LayoutComment() const { return layoutComment_; }
  const std::string& LayoutInfo() const { return layoutInfo_; }
  // Where the loaded layout leaves room for the slider: the built-in
  // layout's corner, the bottom right for any other description.
  SliderCorner FreeCorner() const { return freeCorner_; }

  // The picture the keys are drawn in, and what they show.
  KeyPicture& Picture() { return picture_; }
  const KeyPicture& Picture() const { return picture_; }
  KeyCaptions& Captions() { return captions_; }
  const KeyCaptions& Captions() const { return captions_; }

  // Model (Keyboard.cpp).
  void ReleaseAll();
  // The first key in code order whose outline holds the point.
  KeyHit KeyAt(std::int32_t x, std::int32_t y);
  void TrackPointer(std::int32_t x, std::int32_t y);
  void ClearHot(bool copyNow);
  void SetSize(std::int32_t width, std::int32_t height);
  // SetSize, then every key's outline rescaled from its design points by the
  // ratio of the new size to the loaded layout's size (none after a failed
  // load: the keys stay as they are).
  void ScaleToClient(std::int32_t width, std::int32_t height);
  // Caps, Num and Scroll Lock as the system has them toggled now: they can
  // change on a physical keyboard or in another program at any time. Only
  // a change redraws; a read that finds nothing new costs nothing more.
  void FollowSystemToggles();
  bool IsKeyDown(int vk) const;
  // The model's keyboard-state entry of vk, in the Windows encoding.
  std::uint8_t KeyStateEntry(int vk) const;
  // Shown again: every key up, the key state read from the system, no hover
  // key, and the picture redrawn.
  void SetShown(bool value);
  bool Shown() const { return shown_; }
  // Called by a key whose down state changed: key state, then the picture.
  void KeyDownChanged(Key& key);

  // Extents the window fits its fonts and slider to, at the current size.
  // A layout without the key, or whose key has no outline, gets the built-in
  // layout's extent scaled to the keyboard's size instead.
  Size EscapeKeySize() const;
  std::int32_t RightShiftWidth() const;
  std::int32_t SpaceBarHeight() const;

  Key* KeyFor(int vk) { return IsCode(vk) ? keys_[static_cast<std::size_t>(vk)].get() : nullptr; }
  const Key* KeyFor(int vk) const {
    return IsCode(vk) ? keys_[static_cast<std::size_t>(vk)].get() : nullptr;
  }
  const Key* HoverKey() const { return hoverKey_; }
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }

 private:
  static bool IsCode(int vk) { return vk >= 1 && vk <= 255; }
  void Clear();
  void UpdateKeyState(int vk, bool down);
  // The key's outline when it has one, for the extents above.
  const Key* OutlinedKey(int vk) const;

  KeySender& sender_;
  KeyPicture picture_;
  KeyCaptions captions_;
  bool shown_ = false;
  Key* hoverKey_ = nullptr;
  std::array<std::unique_ptr<Key>, 256> keys_;  // index 0 unused
  std::string layoutName_;
  std::string layoutComment_;
  std::string layoutInfo_;
  SliderCorner freeCorner_ = SliderCorner::BottomRight;
  KeyStateArray keyState_{};
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  // The loaded layout's size, the reference of every rescale; 0 after a
  // failed load.
  std::int32_t layoutWidth_ = 0;
  std::int32_t layoutHeight_ = 0;
};

}  // namespace luma
