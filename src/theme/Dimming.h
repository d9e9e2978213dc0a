// The look of keys that cannot type into the window in front: every key
// color halfway to the background, so that the keyboard looks out of use
// while it still shows every label.
#pragma once

#include "platform/System.h"
#include "theme/Theme.h"

namespace luma {

// Halfway between two colors, channel by channel, rounded up; system colors
// resolved first.
Color HalfwayColor(Color a, Color b, SystemColors& sys);

// colors with faces, borders, captions and characters dimmed; the
// background stays, and so does a face of kBackgroundFace, which marks a key
// drawn as the background.
SchemeColors DimmedColors(const SchemeColors& colors, SystemColors& sys);

}  // namespace luma
