// What the keys show: following the foreground keyboard layout (where each
// key sits, which caption table applies), the names of the key positions,
// and the character or code a key stands for in the keyboard's key state.
#pragma once

#include <array>
#include <string>

#include "keyboard/Captions.h"
#include "platform/System.h"
#include "platform/Types.h"

namespace luma {

class Keyboard;

class KeyCaptions {
 public:
  // The keys, their key state and the picture are the keyboard's.
  KeyCaptions(Keyboard& keyboard, KeyboardLayouts& layouts, CaptionCache& cache);
  KeyCaptions(const KeyCaptions&) = delete;
  KeyCaptions& operator=(const KeyCaptions&) = delete;

  // The foreground layout: the keys move to where it has them and show its
  // captions. A handle of no layout is ignored.
  void SetHKL(Hkl hkl);
  Hkl CurrentLayout() const { return currentHkl_; }
  // A fresh set of keys: placed and captioned after the current layout.
  void FollowLayout();
  void SetNamesLayout(Hkl hkl);
  // Names the keys after US English when it is installed, else after the
  // first installed layout, else after whatever SetNamesLayout falls back to.
  void ChooseNamesLayout();
  const std::u16string& KeyName(int vk) const;
  // The code a press of vk sends now: with Num Lock off a numeric-pad key
  // sends its navigation code, as a real pad does; vk otherwise.
  int SentCode(int vk) const;
  // The character vk types in the keyboard's key state; its base character
  // when that combination types nothing.
  char16_t CaptionFor(int vk) const;
  // What a character key shows: as CaptionFor, except that Ctrl alone does
  // not change it (Ctrl with right Alt is AltGr and does).
  char16_t CharLabelFor(int vk) const;
  // The current layout's character for vk under the modifiers; 0 for a code
  // out of range or before any layout.
  char16_t CaptionAt(int vk, Modifiers modifiers) const;

 private:
  void RemapPositions();
  void SelectCaptionTable();
  char16_t CaptionInState(int vk, bool ctrl) const;

  Keyboard& keyboard_;
  KeyboardLayouts& layouts_;
  CaptionCache& cache_;
  Hkl currentHkl_ = 0;
  // Filled in as captions are read, hence not const.
  CaptionTable* captionTable_ = nullptr;
  std::array<std::u16string, 256> keyNames_;  // index 0 unused
};

}  // namespace luma
