// PLACEHOLDER until the keyboard model lands.
#include "keyboard/HvKeyboard.h"
namespace luma {
THvKeyboard::THvKeyboard(const KeyboardDeps& deps, Hkl)
    : FDeps(deps), FPaintBox(&deps.screen), FBaseImage(deps.bitmaps.CreateBitmap()),
      FWorkImage(deps.bitmaps.CreateBitmap()) {}
THvKeyboard::~THvKeyboard() = default;
void THvKeyboard::Clear() {}
void THvKeyboard::CopyToScreen() {}
void THvKeyboard::Redraw(bool) {}
void THvKeyboard::ReleaseAll() {}
void THvKeyboard::TrackPointer(std::int32_t, std::int32_t) {}
void THvKeyboard::ClearHot(bool) {}
void THvKeyboard::SetSize(std::int32_t, std::int32_t) {}
void THvKeyboard::SetMarkerFaceLiteral(bool) {}
bool THvKeyboard::IsKeyDown(int) const { return false; }
void THvKeyboard::SetShown(bool) {}
void THvKeyboard::SetPaintingEnabled(bool) {}
void THvKeyboard::KeyDownChanged(THvBtn&) {}
void THvKeyboard::UpdateKeyState(int, bool) {}
}  // namespace luma
