// One key of the on-screen keyboard: outline, scaling, hit test, and the
// states that change its look (down, hot, locked, a hover click's progress,
// the part of a two-part key the pointer is on). Geometry and state live in
// Key.cpp, painting in KeyFace.cpp, the marks over the face in KeyMarks.cpp.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Types.h"

namespace luma {

class Keyboard;

// The transient text box of one key paint.
struct TextBox {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
  std::int32_t cx = 0, cy = 0;
  friend bool operator==(const TextBox&, const TextBox&) = default;
};

inline constexpr Point kOutlineSeparator{-1, -1};

class Key {
 public:
  Key(Keyboard& keyboard, std::uint8_t code, const std::vector<std::int32_t>& values,
      DrawingCanvas& canvas);
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  std::uint8_t Code() const { return code_; }
  bool IsDown() const { return down_; }
  bool IsHot() const { return hot_; }
  // Held down until clicked again, drawn with a bar across the key.
  bool IsLocked() const { return locked_; }
  // How far a hover click has run, 0..1000; drawn as a filling bar.
  int HoverProgress() const { return hoverProgress_; }
  // The key whose outline this key is drawn and hit in (itself, or the key
  // at its position under the current layout); none: neither.
  const Key* OutlineOwner() const { return outlineOwner_; }
  // Whether a press is sent with the extended-key flag: a key of the
  // extended set, or a two-part key (Enter) whose second part was hit last.
  bool SendsExtended() const { return sendsExtended_ || secondPartHit_; }
  // Current window pixels; the design points stay as loaded.
  const std::vector<Point>& Points() const { return points_; }

  // Geometry and state (Key.cpp).
  void SetOutline(const std::vector<std::int32_t>& values);
  std::uint8_t PointCount() const { return static_cast<std::uint8_t>(points_.size()); }
  bool IsRectangle() const { return PointCount() == 2; }
  void SetOutlineOwner(Key* key) { outlineOwner_ = key; }
  void SetHot(bool value);
  // The keyboard hears of every change: key state, then the picture.
  void SetDown(bool value);
  // part: whether the hit was in the second outline of a two-part key.
  bool HitTest(std::int32_t x, std::int32_t y, bool& part) const;
  // Points from the design points times the factors, rounded up.
  void ScaleOutline(long double kx, long double ky);
  // Every pixel a paint of this key can touch, one box per outline part,
  // with a pixel more right and below for the label of a down key.
  std::vector<Rect> PaintAreas() const;
  std::int32_t OutlineWidth() const;
  std::int32_t OutlineHeight() const;
  bool IsModifierKey() const;
  bool IsStateKey() const;
  bool IsRemappableKey() const;

  // Marks (KeyMarks.cpp).
  // Which part of a two-part key the pointer is on; the marks follow it.
  void SetSecondPartHit(bool value);
  void SetLocked(bool value);
  void SetHoverProgress(int permille);

  // Painting (KeyFace.cpp), in the keyboard's picture with its captions.
  void Refresh();
  void Paint(DrawingCanvas& canvas, bool outlineOnly);
  void ChooseColors(DrawingCanvas& canvas, bool down, bool hot);
  // The working image shows the rest look under this key again (it was
  // copied afresh from the base image): the next paint draws the outline.
  void MarkDrawnAtRest();
  // The text box a paint would use for the place's points, before the
  // one-pixel shift of a down key.
  TextBox ComputeTextBox(const std::vector<Point>& points);

 private:
  void DrawOutline(DrawingCanvas& canvas, const std::vector<Point>& points, bool force);
  void DrawFace(const std::vector<Point>& points);
  // One label box per outline part, moved with a down key's label.
  std::vector<TextBox> LabelBoxes(const std::vector<Point>& points);
  const TextBox& MarksBox(const std::vector<TextBox>& boxes) const;
  bool DrawCaption(const TextBox& box);
  void DrawCharLabel(const TextBox& box);
  // The arrow keys' label; (dx, dy) the direction.
  void DrawArrow(const Rect& rect, int dx, int dy);
  int OutlineOwnerCode() const;
  // Marks (KeyMarks.cpp): drawn over the face, inside the label box.
  void DrawMarks(const TextBox& box);
  // A mark that shrinks or goes needs the face filled again under it.
  void RepaintFace();
  // A bar that grows over the face as it is shown.
  void DrawLongerBar();

  std::uint8_t code_;
  bool down_ = false;
  bool hot_ = false;
  bool locked_ = false;
  int hoverProgress_ = 0;
  DrawingCanvas* canvas_;
  Keyboard* keyboard_;
  Key* outlineOwner_;
  bool sendsExtended_;
  bool secondPartHit_ = false;
  Color captionColor_ = 0;
  Color charColor_ = 0;
  bool colorsDown_ = false;
  bool colorsHot_ = false;
  bool drawnDown_ = false;
  bool drawnHot_ = false;
  std::vector<Point> points_;
  std::vector<Point> designPoints_;  // as loaded; the source of every rescale
};

// Whether (x, y) lies in one outline part of n points.
bool PointInOutline(const Point* points, std::size_t count, std::int32_t x, std::int32_t y);

}  // namespace luma
