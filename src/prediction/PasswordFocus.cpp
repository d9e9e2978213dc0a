#include "prediction/PasswordFocus.h"

namespace luma {

std::optional<std::uint32_t> PasswordFocus::Follow(std::uintptr_t focus, bool passwordStyle) {
  style_ = passwordStyle;
  if (asked_ && focus == focus_) return std::nullopt;
  focus_ = focus;
  asked_ = true;
  // What was said about the control before is not about this one.
  accessiblePassword_ = false;
  return ++question_;
}

void PasswordFocus::AskAgain() { asked_ = false; }

void PasswordFocus::Answer(std::uint32_t question, bool password) {
  if (asked_ && question == question_) accessiblePassword_ = password;
}

}  // namespace luma
