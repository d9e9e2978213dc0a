#include "app/TouchInput.h"

#include "win32/ProcAddress.h"

namespace luma::app {
namespace {

// FEEDBACK_TYPE values of winuser.h for Windows 8.
constexpr int kFeedbackTypes[] = {
    1,   // FEEDBACK_TOUCH_CONTACTVISUALIZATION
    7,   // FEEDBACK_TOUCH_TAP
    8,   // FEEDBACK_TOUCH_DOUBLETAP
    9,   // FEEDBACK_TOUCH_PRESSANDHOLD
    10,  // FEEDBACK_TOUCH_RIGHTTAP
    11,  // FEEDBACK_GESTURE_PRESSANDTAP
};

}  // namespace

void TurnOffTouchFeedback(HWND window) {
  using SetFeedbackFn = BOOL(WINAPI*)(HWND, int, DWORD, UINT32, const void*);
  // Absent before Windows 8 and under Wine: nothing to switch off there.
  const auto setFeedback = win32::ProcAddress<SetFeedbackFn>(GetModuleHandleW(L"user32.dll"),
                                                             "SetWindowFeedbackSetting");
  if (!setFeedback) return;
  const BOOL off = FALSE;
  for (int type : kFeedbackTypes) setFeedback(window, type, 0, sizeof(off), &off);
}

}  // namespace luma::app
