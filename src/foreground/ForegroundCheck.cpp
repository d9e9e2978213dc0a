#include "foreground/ForegroundCheck.h"

namespace luma {

void ForegroundCheck::Update() {
  const WindowId window = probe_.ForegroundWindow();
  if (window == window_) return;
  window_ = window;
  // No window in front (between two) takes no keys either way.
  bool cannotType = false;
  if (window != 0) {
    const auto known = answers_.find(window);
    if (known != answers_.end()) {
      cannotType = known->second;
    } else {
      const IntegrityOrder order = probe_.CompareWithOwn(window);
      cannotType = order == IntegrityOrder::kHigher || order == IntegrityOrder::kUnknown;
      if (answers_.size() >= kRemembered) answers_.clear();
      answers_.emplace(window, cannotType);
    }
  }
  if (cannotType == cannotType_) return;
  cannotType_ = cannotType;
  if (changed_) changed_(cannotType);
}

}  // namespace luma
