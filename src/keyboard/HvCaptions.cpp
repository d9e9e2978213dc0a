// PLACEHOLDER until layout tracking and captions land.
#include "keyboard/HvKeyboard.h"
namespace luma {
void THvKeyboard::SetHKL(Hkl hkl) { FCurrentHKL = hkl; }
void THvKeyboard::SetNamesLayout(Hkl) {}
void THvKeyboard::RemapPositions() {}
void THvKeyboard::SelectCaptionTable() {}
char16_t THvKeyboard::CaptionFor(int) const { return u' '; }
char16_t THvKeyboard::CaptionAt(int, int, int, int, int) const { return u' '; }
}  // namespace luma
