#include "foreground/LayoutPoll.h"

namespace luma {

void LayoutPoll::Resume() {
  if (timer_.Running()) return;
  // The foreground application may have changed its layout while nobody looked.
  Tick();
  timer_.Start(kIntervalMs);
}

void LayoutPoll::Pause() { timer_.Stop(); }

// SetHKL returns at once for the layout it already follows, and the toggles
// redraw only when one changed.
void LayoutPoll::Tick() {
  keyboard_.Captions().SetHKL(foreground_.Read());
  keyboard_.FollowSystemToggles();
}

}  // namespace luma
