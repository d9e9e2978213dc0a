#include "settings/Placement.h"

namespace luma {

bool SavePlacement(Settings& settings, const PlacementWindow& window) {
  const std::string& prefix = window.className;
  const bool maximized =
      window.state == WindowShowState::kMaximized ||
      (window.state == WindowShowState::kMinimized && window.restoresToMaximized);
  if (maximized) return settings.WriteInteger(prefix + "State", 1);

  if (!settings.WriteInteger(prefix + "Top", window.top)) return false;
  if (!settings.WriteInteger(prefix + "Left", window.left)) return false;
  if (window.maximizeBox) {
    if (!settings.WriteInteger(prefix + "Height", window.height)) return false;
    if (!settings.WriteInteger(prefix + "Width", window.width)) return false;
  }
  return settings.WriteInteger(prefix + "State", 0);
}

RestoredPlacement RestorePlacement(Settings& settings, const PlacementWindow& window) {
  const std::string& prefix = window.className;
  RestoredPlacement result{window.left, window.top, window.width, window.height, false};
  const std::int32_t state = settings.ReadInteger(prefix + "State", 0);
  result.top = settings.ReadInteger(prefix + "Top", window.top);
  result.left = settings.ReadInteger(prefix + "Left", window.left);
  if (window.sizeableBorder) {
    result.height = settings.ReadInteger(prefix + "Height", window.height);
    result.width = settings.ReadInteger(prefix + "Width", window.width);
  }
  result.maximized = state != 0 && window.maximizeBox;
  return result;
}

}  // namespace luma
