#include "keyboard/KeyCaptions.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "keyboard/KeyNames.h"
#include "keyboard/Keyboard.h"
#include "keys/KeyKinds.h"
#include "keys/VirtualKeys.h"

namespace luma {
namespace {

// The positions of US English, by scan code: the virtual-key codes its
// character keys have, which are the positions of the layout description.
// Asked for when the system hands back another layout for US English, as
// Wine does: mapping through that one would leave every key where it is.
constexpr std::array<std::uint8_t, 0x57> kUsEnglishPositions = [] {
  std::array<std::uint8_t, 0x57> positions{};
  const auto row = [&](unsigned firstScan, std::string_view vks) {
    for (std::size_t i = 0; i < vks.size(); ++i)
      positions[firstScan + i] = static_cast<std::uint8_t>(vks[i]);
  };
  row(0x02, "1234567890\xBD\xBB");
  row(0x10, "QWERTYUIOP\xDB\xDD");
  row(0x1E, "ASDFGHJKL\xBA\xDE\xC0");
  row(0x2B, "\xDCZXCVBNM\xBC\xBE\xBF");
  positions[0x56] = 0xE2;
  return positions;
}();

// The US English layout for the length of one operation: the installed one
// if there is one, otherwise loaded now and unloaded when the operation ends,
// also when it ends by an exception.
class UsEnglishLayout {
 public:
  UsEnglishLayout(KeyboardLayouts& layouts, const std::vector<Hkl>& installed) : layouts_(layouts) {
    if (std::find(installed.begin(), installed.end(), kUsEnglishHkl) != installed.end()) {
      handle_ = kUsEnglishHkl;
      return;
    }
    handle_ = layouts_.Load("04090409");
    // When US English cannot be loaded the system hands back a layout the
    // user already has; unloading that would take it away from the user.
    loaded_ =
        handle_ != 0 && std::find(installed.begin(), installed.end(), handle_) == installed.end();
  }
  ~UsEnglishLayout() {
    if (loaded_) layouts_.Unload(handle_);
  }
  UsEnglishLayout(const UsEnglishLayout&) = delete;
  UsEnglishLayout& operator=(const UsEnglishLayout&) = delete;

  // The US English position of a scan code; 0 for none.
  int PositionOf(unsigned scan) const {
    if ((handle_ & 0xFFFFFFFFu) == kUsEnglishHkl)
      return static_cast<std::uint8_t>(layouts_.MapVirtualKeyEx(scan, kMapScanToVkEx, handle_));
    return scan < kUsEnglishPositions.size() ? kUsEnglishPositions[scan] : 0;
  }

 private:
  KeyboardLayouts& layouts_;
  Hkl handle_ = 0;
  bool loaded_ = false;
};

// The US English position (virtual-key code) of the physical key that types
// vk in layout hkl; vk itself when there is none.
int UsPosition(KeyboardLayouts& layouts, int vk, Hkl hkl, const UsEnglishLayout& us) {
  const int p =
      us.PositionOf(layouts.MapVirtualKeyEx(static_cast<unsigned>(vk), kMapVkToScan, hkl));
  return p == 0 ? vk : p;
}

bool AnyKey(const Keyboard& keyboard) {
  for (int vk = 1; vk <= 255; ++vk)
    if (keyboard.KeyFor(vk) != nullptr) return true;
  return false;
}

}  // namespace

KeyCaptions::KeyCaptions(Keyboard& keyboard, KeyboardLayouts& layouts, CaptionCache& cache)
    : keyboard_(keyboard), layouts_(layouts), cache_(cache) {}

void KeyCaptions::SetHKL(Hkl hkl) {
  const auto low32 = static_cast<std::uint32_t>(hkl);
  if (low32 == 0 || (low32 >> 16) == 0 || hkl == currentHkl_) return;
  currentHkl_ = hkl;
  RemapPositions();
  SelectCaptionTable();
  KeyPicture& picture = keyboard_.Picture();
  if (keyboard_.Shown() && picture.PaintingEnabled()) picture.Redraw(false);
}

void KeyCaptions::FollowLayout() {
  RemapPositions();
  SelectCaptionTable();
}

void KeyCaptions::RemapPositions() {
  // Before a layout is loaded there is nothing to place, and no reason to
  // list layouts, let alone load US English.
  if (!AnyKey(keyboard_)) return;
  KeyboardLayouts& layouts = layouts_;
  const UsEnglishLayout us(layouts, layouts.List(40));
  for (int c = 1; c <= 255; ++c) {
    Key* key = keyboard_.KeyFor(c);
    if (!key || !IsRemappableKey(c)) continue;
    int p = UsPosition(layouts, c, currentHkl_, us);
    // Only character positions that have a key are handed around: a position
    // such as Enter or a numeric-pad key would otherwise lose its own key for
    // good, since the loop never visits it to give it back.
    if (!IsRemappableKey(p) || !keyboard_.KeyFor(p)) p = c;
    Key* position = keyboard_.KeyFor(p);
    if (position->OutlineOwner() == position) position->SetOutlineOwner(nullptr);
    key->SetOutlineOwner(position);
    position->SetDown(false);
  }
}

// Nothing is translated here: each combination of the table is translated
// when a caption of it is first read.
void KeyCaptions::SelectCaptionTable() { captionTable_ = &cache_.Find(currentHkl_); }

char16_t KeyCaptions::CaptionAt(int vk, Modifiers modifiers) const {
  if (vk < 1 || vk > 255 || captionTable_ == nullptr) return 0;
  return captionTable_->At(layouts_, vk, modifiers);
}

char16_t KeyCaptions::CaptionInState(int vk, bool ctrl) const {
  if (vk < 1 || vk > 255 || captionTable_ == nullptr) return u' ';
  // Any non-zero entry counts, the bare toggle value 1 of Caps Lock included.
  const auto held = [this](int entry) { return keyboard_.KeyStateEntry(entry) != 0; };
  const char16_t c = CaptionAt(
      vk,
      {.shift = held(kVkShift), .alt = held(kVkAlt), .ctrl = ctrl, .capsLock = held(kVkCapsLock)});
  // A combination that types nothing shows the key's base character.
  return c == u' ' ? CaptionAt(vk, {}) : c;
}

char16_t KeyCaptions::CaptionFor(int vk) const {
  return CaptionInState(vk, keyboard_.KeyStateEntry(kVkCtrl) != 0);
}

char16_t KeyCaptions::CharLabelFor(int vk) const {
  return CaptionInState(
      vk, keyboard_.KeyStateEntry(kVkCtrl) != 0 && keyboard_.KeyStateEntry(kVkRightAlt) != 0);
}

int KeyCaptions::SentCode(int vk) const {
  const int navigation = NumLockOffCode(vk);
  return navigation != 0 && (keyboard_.KeyStateEntry(kVkNumLock) & 1) == 0 ? navigation : vk;
}

const std::u16string& KeyCaptions::KeyName(int vk) const {
  // Entry 0 stays empty: the name of every code out of range.
  return keyNames_[vk >= 1 && vk <= 255 ? static_cast<std::size_t>(vk) : 0];
}

void KeyCaptions::ChooseNamesLayout() {
  const std::vector<Hkl> installed = layouts_.List(40);
  // Only the low 32 bits name a layout; 64-bit Windows sign-extends them.
  const auto us = std::find_if(installed.begin(), installed.end(),
                               [](Hkl hkl) { return (hkl & 0xFFFFFFFFu) == kUsEnglishHkl; });
  if (us != installed.end())
    SetNamesLayout(*us);
  else if (!installed.empty())
    SetNamesLayout(installed.front());
  else
    SetNamesLayout(kUsEnglishHkl);  // nothing listed: the handle asked for names the keys
}

void KeyCaptions::SetNamesLayout(Hkl hkl) {
  KeyboardLayouts& layouts = layouts_;
  const std::vector<Hkl> installed = layouts.List(40);
  // With no layout listed at all, the one asked for names the keys.
  Hkl namesHkl = installed.empty() ? hkl : installed.front();
  if (std::find(installed.begin(), installed.end(), hkl) != installed.end()) namesHkl = hkl;

  for (std::size_t vk = 1; vk <= 255; ++vk) keyNames_[vk] = kKeyNames[vk];

  {
    const UsEnglishLayout us(layouts, installed);
    // What each key types with no modifier is the base combination of the
    // layout's caption table: translated once for names and captions both.
    CaptionTable& table = cache_.Find(namesHkl);
    for (int vk = 1; vk <= 255; ++vk) {
      if (!IsCharKey(vk) || vk == kVkSpace) continue;
      const char16_t ch = table.At(layouts, vk, {});
      if (ch <= u' ') continue;  // types nothing: the name stays
      // The system's case tables know every script's letters.
      const std::u16string upper = layouts.UpperCase(std::u16string(1, ch));
      const std::u16string_view name = Trimmed(upper);
      if (name.empty()) continue;
      const int p = UsPosition(layouts, vk, namesHkl, us);
      if (IsCharKey(p)) keyNames_[static_cast<std::size_t>(p)] = std::u16string(name);
    }
  }
  keyboard_.Picture().Redraw(true);
}

}  // namespace luma
