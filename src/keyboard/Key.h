// One key of the on-screen keyboard: outline, scaling, hit test and its two
// look-changing states. Geometry lives in Key.cpp, painting in KeyFace.cpp.
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

  std::uint8_t Code;
  bool Down = false;
  bool Hot = false;
  DrawingCanvas* canvas_;
  Keyboard* keyboard_;
  Key* Place;  // none: neither drawn nor hit
  bool Extended;
  Color CaptionColor = 0;
  Color CharColor = 0;
  bool ColorsDown = false;
  bool ColorsHot = false;
  bool DrawnDown = false;
  bool DrawnHot = false;
  std::vector<Point> Points;        // current window pixels
  std::vector<Point> DesignPoints;  // as loaded; the source of every rescale

  // Geometry (Key.cpp).
  void SetOutline(const std::vector<std::int32_t>& values);
  std::uint8_t PointCount() const { return static_cast<std::uint8_t>(Points.size()); }
  bool IsRectangle() const { return PointCount() == 2; }
  void SetPlace(Key* btn) { Place = btn; }
  void SetHot(bool value);
  void SetDown(bool value);
  bool HitTest(std::int32_t x, std::int32_t y, bool& part) const;
  void ScaleOutline(long double kx, long double ky);
  std::int32_t OutlineWidth() const;
  std::int32_t OutlineHeight() const;
  bool IsModifierKey() const;
  bool IsStateKey() const;
  bool IsRemappableKey() const;

  // Painting (KeyFace.cpp).
  void Refresh();
  void Paint(DrawingCanvas& canvas, bool outlineOnly);
  void ChooseColors(DrawingCanvas& canvas, bool down, bool hot);
  void DrawOutline(DrawingCanvas& canvas, const std::vector<Point>& points, bool force);
  void DrawFace(const std::vector<Point>& points);
  // The text box DrawFace would use for the place's points, before the
  // one-pixel shift of a down key.
  TextBox ComputeTextBox(const std::vector<Point>& points);

 private:
  bool DrawCaption(const TextBox& box);
  void DrawCharLabel(const TextBox& box);
};

// Whether (x, y) lies in one outline part of n points.
bool PointInOutline(const Point* points, std::size_t count, std::int32_t x, std::int32_t y);

}  // namespace luma
