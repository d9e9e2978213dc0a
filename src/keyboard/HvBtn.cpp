// PLACEHOLDER until key geometry lands.
#include "keyboard/HvBtn.h"
#include "keyboard/HvKeyboard.h"
namespace luma {
THvBtn::THvBtn(THvKeyboard& keyboard, std::uint8_t code, const std::vector<std::int32_t>&,
               DrawingCanvas& canvas)
    : Code(code), Canvas(&canvas), Keyboard(&keyboard), Place(this), Extended(false) {}
void THvBtn::SetOutline(const std::vector<std::int32_t>&) {}
void THvBtn::SetHot(bool) {}
void THvBtn::SetDown(bool) {}
bool THvBtn::HitTest(std::int32_t, std::int32_t, bool&) const { return false; }
void THvBtn::ScaleOutline(long double, long double) {}
std::int32_t THvBtn::OutlineWidth() const { return 0; }
std::int32_t THvBtn::OutlineHeight() const { return 0; }
bool THvBtn::IsModifierKey() const { return false; }
bool THvBtn::IsStateKey() const { return false; }
bool THvBtn::IsRemappableKey() const { return false; }
bool PointInOutline(const Point*, std::size_t, std::int32_t, std::int32_t) { return false; }
}  // namespace luma
