// The keyboard model: 255 keys, the base and working images, the hover key,
// the model's own keyboard state, redraw control and the caption lookup.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "keyboard/Captions.h"
#include "keyboard/Key.h"
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

// What the model works with; all of it owned by the program and outliving
// the model.
// A point on the keys: the key there, and whether in its second outline.
struct KeyHit {
  Key* key = nullptr;  // none: off the keys
  bool secondPart = false;
};

struct KeyboardDeps {
  BitmapFactory& bitmaps;
  Screen& screen;  // the window area that shows the picture
  KeyboardLayouts& layouts;
  KeySender& sender;
  const Theme& theme;  // read at every paint
  CaptionCache& captions;
  Bitmap* textBitmap = nullptr;  // text on pure-green faces; none: drawn directly
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

  // Layout tracking and captions (LayoutTracking.cpp).
  void SetHKL(Hkl hkl);
  Hkl CurrentLayout() const { return currentHkl_; }
  void SetNamesLayout(Hkl hkl);
  // Names the keys after US English when it is installed, else after the
  // first installed layout, else after whatever SetNamesLayout falls back to.
  void ChooseNamesLayout();
  const std::u16string& KeyName(int vk) const;
  // The code a press of vk sends now: with Num Lock off a numeric-pad key
  // sends its navigation code, as a real pad does; vk otherwise.
  int SentCode(int vk) const;
  // The character vk types in the model's key state; its base character when
  // that combination types nothing.
  char16_t CaptionFor(int vk) const;
  // What a character key shows: as CaptionFor, except that Ctrl alone does
  // not change it (Ctrl with right Alt is AltGr and does).
  char16_t CharLabelFor(int vk) const;
  char16_t CaptionAt(int vk, int shift, int alt, int ctrl, int caps) const;

  // Model (Keyboard.cpp).
  // The whole working image to the screen.
  void CopyToScreen();
  // Only the areas keys repainted since the last copy: a hover or an
  // ordinary press costs the copy of a key or two, not of the picture.
  void CopyChanges();
  // A key repainted this area of the working image.
  void MarkChanged(const Rect& area);
  void Redraw(bool rebuildBase);
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
  // A rest face of pure green marks a key drawn as the background, unless
  // this asks for the green itself.
  void SetGreenRestFaceDrawn(bool value);
  bool GreenRestFaceDrawn() const { return greenRestFaceDrawn_; }
  // Caps, Num and Scroll Lock as the system has them toggled now: they can
  // change on a physical keyboard or in another program at any time. Only
  // a change redraws; a read that finds nothing new costs nothing more.
  void FollowSystemToggles();
  bool IsKeyDown(int vk) const;
  // The model's keyboard-state entry of vk, in the Windows encoding.
  std::uint8_t KeyStateEntry(int vk) const;
  void SetShown(bool value);
  void SetPaintingEnabled(bool value);
  bool PaintingEnabled() const { return paintingEnabled_; }
  // Called by a key whose down state changed: key state, then the redraw decision.
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
  Bitmap& WorkImage() { return *workImage_; }
  const KeyboardDeps& Deps() const { return deps_; }

 private:
  static bool IsCode(int vk) { return vk >= 1 && vk <= 255; }
  void Clear();
  void RemapPositions();
  void SelectCaptionTable();
  void UpdateKeyState(int vk, bool down);
  char16_t CaptionInState(int vk, bool ctrl) const;
  // The key's outline when it has one, for the extents above.
  const Key* OutlinedKey(int vk) const;

  KeyboardDeps deps_;
  Screen* screen_;
  bool shown_ = false;
  bool paintingEnabled_ = true;
  Key* hoverKey_ = nullptr;
  Hkl currentHkl_ = 0;
  // Filled in as captions are read, hence not const.
  CaptionTable* captionTable_ = nullptr;
  bool greenRestFaceDrawn_ = false;
  std::unique_ptr<Bitmap> baseImage_;
  bool baseStale_ = true;
  std::array<std::unique_ptr<Key>, 256> keys_;  // index 0 unused
  std::string layoutName_;
  std::string layoutComment_;
  std::string layoutInfo_;
  SliderCorner freeCorner_ = SliderCorner::BottomRight;
  KeyStateArray keyState_{};
  std::array<std::u16string, 256> keyNames_;  // index 0 unused
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  // The loaded layout's size, the reference of every rescale; 0 after a
  // failed load.
  std::int32_t layoutWidth_ = 0;
  std::int32_t layoutHeight_ = 0;
  std::unique_ptr<Bitmap> workImage_;
  // Areas of the working image the screen does not show yet, apart.
  std::vector<Rect> changed_;
  bool redrawing_ = false;
};

}  // namespace luma
