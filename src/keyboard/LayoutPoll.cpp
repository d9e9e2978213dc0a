#include "keyboard/LayoutPoll.h"

namespace luma {

void LayoutPoll::Resume() {
  if (timer_.Running()) return;
  // The foreground application may have changed its layout while nobody looked.
  Tick();
  timer_.Start(kIntervalMs);
}

void LayoutPoll::Pause() { timer_.Stop(); }

// SetHKL returns at once for the layout it already follows.
void LayoutPoll::Tick() { keyboard_.SetHKL(foreground_.Read()); }

}  // namespace luma
