// The main window's timers: one id each, and one place that tells them apart.
#pragma once

#include <windows.h>

namespace luma::app {

enum TimerId : UINT_PTR {
  kLayoutPollTimer = 1,    // the foreground application's layout, every 300 ms
  kPressTimer = 2,         // the held key's repeat
  kSliderCreateTimer = 3,  // the slider, once the first picture is out
  kHoverTimer = 4,         // the hover click's progress steps, only while one runs
  kScanTimer = 5,          // the scan highlight's steps, only while scanning runs
};

}  // namespace luma::app
