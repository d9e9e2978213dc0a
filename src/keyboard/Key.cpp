#include "keyboard/Key.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "keyboard/Keyboard.h"
#include "keys/KeyKinds.h"

namespace luma {

namespace {

constexpr std::size_t kMaxOutlinePoints = 255;

bool IsSeparator(const Point& p) { return p == kOutlineSeparator; }

bool InRectangle(const Point& topLeft, const Point& bottomRight, std::int32_t x, std::int32_t y) {
  return topLeft.x <= x && x <= bottomRight.x && topLeft.y <= y && y <= bottomRight.y;
}

// ceil(k * v) in extended precision, held to the int32 range: a factor from
// a zero design size is infinite or NaN and must not reach the conversion.
std::int32_t ScaledCoordinate(long double k, std::int32_t v) {
  const long double product = std::ceil(k * static_cast<long double>(v));
  if (std::isnan(product)) return 0;
  constexpr auto kLow = static_cast<long double>(std::numeric_limits<std::int32_t>::min());
  constexpr auto kHigh = static_cast<long double>(std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(std::clamp(product, kLow, kHigh));
}

std::int32_t Saturate(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

Key::Key(Keyboard& keyboard, std::uint8_t code, const std::vector<std::int32_t>& values,
         DrawingCanvas& canvas)
    : code_(code),
      canvas_(&canvas),
      keyboard_(&keyboard),
      outlineOwner_(this),
      sendsExtended_(luma::IsExtendedKey(code)) {
  SetOutline(values);
  Refresh();
}

void Key::SetOutline(const std::vector<std::int32_t>& values) {
  points_.clear();
  designPoints_.clear();
  if (values.size() % 2 != 0) return;
  // The count is an 8-bit quantity everywhere else (PointCount); a longer
  // list would wrap to a few stray points, so it gives no outline at all.
  const std::size_t n = values.size() / 2;
  if (n > kMaxOutlinePoints) return;
  points_.reserve(n);
  for (std::size_t i = 0; i < n; ++i) points_.push_back({values[2 * i], values[2 * i + 1]});
  designPoints_ = points_;
}

void Key::SetHot(bool value) {
  hot_ = value;
  Refresh();
}

void Key::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  keyboard_->KeyDownChanged(*this);
}

bool Key::HitTest(std::int32_t x, std::int32_t y, bool& part) const {
  part = false;
  if (outlineOwner_ == nullptr || outlineOwner_->points_.empty()) return false;
  const std::vector<Point>& p = outlineOwner_->points_;
  if (p.size() == 2) return InRectangle(p[0], p[1], x, y);

  const auto separator = std::find(p.begin(), p.end(), kOutlineSeparator);
  if (separator == p.end()) return PointInOutline(p.data(), p.size(), x, y);

  const auto first = static_cast<std::size_t>(separator - p.begin());
  if (PointInOutline(p.data(), first, x, y)) return true;
  part = true;
  return PointInOutline(p.data() + first + 1, p.size() - first - 1, x, y);
}

bool PointInOutline(const Point* points, std::size_t count, std::int32_t x, std::int32_t y) {
  if (count < 2) return false;
  if (count == 2) return InRectangle(points[0], points[1], x, y);

  // Crossing number. Differences of 32-bit coordinates need 33 bits and their
  // product up to 66: it is taken in extended precision, exact below 2^64,
  // so that far-out coordinates can neither overflow nor flip the answer.
  const auto difference = [](std::int32_t a, std::int32_t b) {
    return static_cast<long double>(std::int64_t{a} - b);
  };
  bool inside = false;
  for (std::size_t i = 0; i < count; ++i) {
    const Point& qi = points[i];
    const Point& qj = points[i + 1 == count ? 0 : i + 1];
    if ((qi.y < y) == (qj.y < y)) continue;
    const long double t = difference(y, qi.y) * difference(qj.x, qi.x);
    if (difference(x, qi.x) < t / difference(qj.y, qi.y)) inside = !inside;
  }
  return inside;
}

void Key::ScaleOutline(long double kx, long double ky) {
  // The separator is recognised in the design points: a scaled corner that
  // happens to land on (-1, -1) must still follow the next rescale.
  const std::size_t n = std::min(points_.size(), designPoints_.size());
  for (std::size_t j = 0; j < n; ++j) {
    const Point& design = designPoints_[j];
    if (IsSeparator(design)) continue;
    points_[j] = {ScaledCoordinate(kx, design.x), ScaledCoordinate(ky, design.y)};
  }
}

namespace {

// Extent of an outline along one axis: a rectangle's signed difference, a
// polygon's max − min over its corners (separators left out).
std::int32_t OutlineExtent(const std::vector<Point>& points, std::int32_t Point::*axis) {
  if (points.size() < 2) return 0;
  if (points.size() == 2) return Saturate(std::int64_t{points[1].*axis} - points[0].*axis);
  std::int32_t low = points[0].*axis, high = points[0].*axis;
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (IsSeparator(points[i])) continue;
    low = std::min(low, points[i].*axis);
    high = std::max(high, points[i].*axis);
  }
  return Saturate(std::int64_t{high} - low);
}

}  // namespace

std::vector<Rect> Key::PaintAreas() const {
  std::vector<Rect> areas;
  if (outlineOwner_ == nullptr) return areas;
  const std::vector<Point>& p = outlineOwner_->points_;
  // The separator is no corner: counted in, it would stretch the box of a
  // two-part key over everything between the parts and the window's corner.
  for (auto part = p.begin(); part != p.end();) {
    const auto end = std::find(part, p.end(), kOutlineSeparator);
    if (part != end) {
      std::int64_t left = part->x, top = part->y, right = part->x, bottom = part->y;
      for (auto q = part; q != end; ++q) {
        left = std::min<std::int64_t>(left, q->x);
        top = std::min<std::int64_t>(top, q->y);
        right = std::max<std::int64_t>(right, q->x);
        bottom = std::max<std::int64_t>(bottom, q->y);
      }
      areas.push_back({Saturate(left), Saturate(top), Saturate(right + 2), Saturate(bottom + 2)});
    }
    part = end == p.end() ? end : end + 1;
  }
  return areas;
}

std::int32_t Key::OutlineWidth() const { return OutlineExtent(points_, &Point::x); }
std::int32_t Key::OutlineHeight() const { return OutlineExtent(points_, &Point::y); }

bool Key::IsModifierKey() const { return luma::IsModifierKey(code_); }
bool Key::IsStateKey() const { return luma::IsStateKey(code_); }
bool Key::IsRemappableKey() const { return luma::IsRemappableKey(code_); }

}  // namespace luma
