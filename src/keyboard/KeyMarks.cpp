// What a key shows over its face besides the label: the bar of a locked
// modifier and the progress of a hover click.
#include <algorithm>
#include <cstdint>

#include "keyboard/Key.h"
#include "keyboard/KeyFace.h"
#include "keyboard/Keyboard.h"

namespace luma {

void Key::SetLocked(bool value) {
  if (value == locked_) return;
  locked_ = value;
  RepaintFace();
}

void Key::SetHoverProgress(int permille) {
  permille = std::clamp(permille, 0, 1000);
  if (permille == hoverProgress_) return;
  const bool shrinks = permille < hoverProgress_;
  hoverProgress_ = permille;
  if (shrinks)
    RepaintFace();
  else
    DrawLongerBar();
}

void Key::DrawLongerBar() {
  // Where the working image shows another look, the whole face is due.
  if (drawnDown_ != down_ || drawnHot_ != hot_ || colorsDown_ != down_ || colorsHot_ != hot_) {
    Refresh();
    return;
  }
  if (!keyboard_ || !keyboard_->Picture().PaintingEnabled()) return;
  if (!outlineOwner_ || outlineOwner_->points_.size() < 2) return;
  // Only the bar: the label drawn again over itself would blend its smoothed
  // edges darker at every step.
  const std::vector<TextBox> boxes = LabelBoxes(outlineOwner_->points_);
  if (boxes.empty()) return;
  DrawMarks(MarksBox(boxes));
  for (const Rect& area : PaintAreas()) keyboard_->Picture().MarkChanged(area);
}

void Key::SetSecondPartHit(bool value) {
  if (value == secondPartHit_) return;
  secondPartHit_ = value;
  // A mark on the part the pointer left moves to the one it is on now.
  if (hoverProgress_ > 0 || (locked_ && down_)) RepaintFace();
}

void Key::RepaintFace() {
  // The outline, and with it the face, is drawn again only for a state the
  // working image does not show yet.
  drawnDown_ = !down_;
  Refresh();
}

void Key::DrawMarks(const TextBox& box) {
  const bool lockBar = locked_ && down_;
  if (!lockBar && hoverProgress_ <= 0) return;
  const LabelMarks marks = LabelMarksIn({box.left, box.top, box.right, box.bottom}, hoverProgress_);
  if (!marks.fits) return;
  DrawingCanvas& canvas = *canvas_;
  // The label's color stands out on the face in every state and scheme.
  canvas.SetBrush(captionColor_);
  if (lockBar) canvas.FillRect(marks.lockBar);
  if (hoverProgress_ > 0) canvas.FillRect(marks.progressBar);
}

LabelMarks LabelMarksIn(const Rect& box, int permille) {
  const std::int64_t left = std::int64_t{box.left} + 2, right = std::int64_t{box.right} - 1;
  const std::int64_t height = std::int64_t{box.bottom} - box.top;
  if (right <= left || height <= 4) return {};
  const auto thickness = static_cast<std::int32_t>(std::clamp<std::int64_t>(height / 10, 2, 6));
  const auto filled =
      static_cast<std::int32_t>(left + (right - left) * std::clamp(permille, 0, 1000) / 1000);
  const auto l = static_cast<std::int32_t>(left), r = static_cast<std::int32_t>(right);
  return {true,
          {l, box.top + 2, r, box.top + 2 + thickness},
          {l, box.bottom - 1 - thickness, filled, box.bottom - 1}};
}

}  // namespace luma
