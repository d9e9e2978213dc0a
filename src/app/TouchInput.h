// Touch and pen on the keyboard: a press is a plain left press, so the
// system's press-and-hold, tap and flick handling and its touch visuals are
// switched off for the window.
#pragma once

#include <windows.h>

namespace luma::app {

inline constexpr UINT kTabletQuerySystemGestureStatus = 0x02CC;
// TABLET_DISABLE_PRESSANDHOLD, _PENTAPFEEDBACK, _PENBARRELFEEDBACK, _FLICKS.
inline constexpr LRESULT kNoSystemGestures = 0x00000001 | 0x00000008 | 0x00000010 | 0x00010000;

// SetWindowFeedbackSetting (Windows 8 on), where user32 has it.
void TurnOffTouchFeedback(HWND window);

}  // namespace luma::app
