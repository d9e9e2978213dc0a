// The keyboard window's titles.
#pragma once

namespace luma::app {

inline constexpr wchar_t kAppTitle[] = L"Lumatype";
// While a window of a higher integrity level is in front: the system drops
// the keys sent to it, and the user should know why nothing arrives.
inline constexpr wchar_t kCannotTypeTitle[] = L"Lumatype \u2014 cannot type into this window";

}  // namespace luma::app
