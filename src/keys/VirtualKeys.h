// Windows virtual-key codes the core refers to by meaning. Tables whose rows
// are codes (the key names, the built-in layout) keep their numbers.
#pragma once

namespace luma {

inline constexpr int kVkLeftButton = 1;
inline constexpr int kVkRightButton = 2;
inline constexpr int kVkMiddleButton = 4;
inline constexpr int kVkXButton1 = 5;
inline constexpr int kVkXButton2 = 6;
inline constexpr int kVkBackspace = 8;
inline constexpr int kVkEnter = 13;
inline constexpr int kVkShift = 16;  // either Shift, as the system combines them
inline constexpr int kVkCtrl = 17;
inline constexpr int kVkAlt = 18;
inline constexpr int kVkCapsLock = 20;
inline constexpr int kVkEscape = 27;
inline constexpr int kVkSpace = 32;
inline constexpr int kVkPageUp = 33;  // first of the navigation block
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;
inline constexpr int kVkDelete = 46;  // last of the navigation block
inline constexpr int kVk0 = 48;
inline constexpr int kVkZ = 90;
inline constexpr int kVkLeftWin = 91;
inline constexpr int kVkRightWin = 92;
inline constexpr int kVkApps = 93;
inline constexpr int kVkSleep = 95;
inline constexpr int kVkNumpad0 = 96;
inline constexpr int kVkDecimal = 110;
inline constexpr int kVkDivide = 111;  // last of the numeric-pad operators
inline constexpr int kVkF1 = 112;
inline constexpr int kVkF24 = 135;
inline constexpr int kVkNumLock = 144;
inline constexpr int kVkScrollLock = 145;
inline constexpr int kVkLeftShift = 160;
inline constexpr int kVkRightShift = 161;
inline constexpr int kVkLeftCtrl = 162;
inline constexpr int kVkRightCtrl = 163;
inline constexpr int kVkLeftAlt = 164;
inline constexpr int kVkRightAlt = 165;     // AltGr on layouts that have one
inline constexpr int kVkBrowserBack = 166;  // first of the browser, media and launch keys
inline constexpr int kVkLaunchApp2 = 183;   // last of them
inline constexpr int kVkOem1 = 186;         // first punctuation run (";:" on US English)
inline constexpr int kVkOem3 = 192;         // its last ("`~")
inline constexpr int kVkOem4 = 219;         // second punctuation run ("[{")
inline constexpr int kVkOem102 = 226;       // its last (the extra key left of Z)

}  // namespace luma
