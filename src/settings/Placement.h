// The main window's position, size and maximised state between runs. The
// value names are the window's class name followed by a suffix, so a saved
// "TMainForm" placement belongs to the window of that class.
#pragma once

#include <cstdint>
#include <string>

#include "settings/Settings.h"

namespace luma {

// The main window's class, which other programs know it by and the saved
// placement is named after.
inline constexpr char kMainWindowClassName[] = "TMainForm";

enum class WindowShowState { kNormal, kMinimized, kMaximized };

// What the window reports of itself, outer rectangle in screen pixels.
struct PlacementWindow {
  std::string className = kMainWindowClassName;
  // The rectangle of the normal state: the current one for a normal window,
  // the one it will restore to when minimised or maximised.
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  WindowShowState state = WindowShowState::kNormal;
  bool restoresToMaximized = false;  // minimised from the maximised state
  bool sizeableBorder = true;
  bool maximizeBox = true;
};

// Where the window goes: the rectangle of the normal state, then maximised
// or not.
struct RestoredPlacement {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  bool maximized = false;
  friend bool operator==(const RestoredPlacement&, const RestoredPlacement&) = default;
};

// A maximised window, or a minimised one that would restore to maximised,
// stores State 1 and keeps the last normal rectangle. Any other window
// stores Top, Left, Height and Width (the size only with a maximise box),
// then State 0; a minimised keyboard so comes back normal where it was.
// Stops at the first failed write; false then.
bool SavePlacement(Settings& settings, const PlacementWindow& window);

// The saved values over the window's current ones (its default placement);
// the size only for a sizeable border, maximised only with a maximise box.
// Nothing is compared with the screen: showing the window pulls it back
// onto the work area.
RestoredPlacement RestorePlacement(Settings& settings, const PlacementWindow& window);

}  // namespace luma
