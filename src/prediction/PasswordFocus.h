// Whether the focused control of the application in front takes a password.
// Its style is read at every poll and counts at once. What accessibility says
// comes from a call into the other program, which can be slow: it is asked
// once per focus, away from the keyboard's thread, and counts only for the
// focus it was asked about.
#pragma once

#include <cstdint>
#include <optional>

namespace luma {

class PasswordFocus {
 public:
  // The focus seen now (any value that tells one control from another) and
  // whether its style marks a password. A number when accessibility is to be
  // asked about this focus; its answer carries that number.
  std::optional<std::uint32_t> Follow(std::uintptr_t focus, bool passwordStyle);
  // The focus may have moved inside the same control (from field to field of
  // a page), or went unwatched for a while: the next Follow asks again.
  void AskAgain();
  // Accessibility's answer to a question. An answer about a focus that has
  // gone since is dropped; none at all means not a password.
  void Answer(std::uint32_t question, bool password);
  bool IsPassword() const { return style_ || accessiblePassword_; }

 private:
  std::uintptr_t focus_ = 0;
  bool asked_ = false;
  bool style_ = false;
  bool accessiblePassword_ = false;
  std::uint32_t question_ = 0;
};

}  // namespace luma
