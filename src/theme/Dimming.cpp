#include "theme/Dimming.h"

namespace luma {
namespace {

Color Resolved(Color c, SystemColors& sys) { return IsSysColor(c) ? sys.GetSysColor(c & 0xFF) : c; }

}  // namespace

Color HalfwayColor(Color a, Color b, SystemColors& sys) {
  a = Resolved(a, sys);
  b = Resolved(b, sys);
  const auto half = [](unsigned x, unsigned y) { return (x + y + 1) / 2; };
  return Rgb(half(RedOf(a), RedOf(b)), half(GreenOf(a), GreenOf(b)), half(BlueOf(a), BlueOf(b)));
}

SchemeColors DimmedColors(const SchemeColors& colors, SystemColors& sys) {
  SchemeColors dimmed = colors;
  const Color back = colors.BackColor;
  for (Color SchemeColors::*slot :
       {&SchemeColors::RestFace, &SchemeColors::RestBorder, &SchemeColors::RestCaption,
        &SchemeColors::RestChar, &SchemeColors::DownFace, &SchemeColors::DownBorder,
        &SchemeColors::DownCaption, &SchemeColors::DownChar, &SchemeColors::HotFace,
        &SchemeColors::HotBorder, &SchemeColors::HotCaption, &SchemeColors::HotChar}) {
    if (colors.*slot == kBackgroundFace) continue;
    dimmed.*slot = HalfwayColor(colors.*slot, back, sys);
  }
  return dimmed;
}

}  // namespace luma
