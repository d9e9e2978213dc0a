// How a key paints itself: outline and face in the colors of its state, and
// one label, either the position's name or the character the key types.
#include "keyboard/KeyFace.h"

#include <algorithm>
#include <cstdint>

#include "keyboard/Key.h"
#include "keyboard/Keyboard.h"
#include "keys/KeyKinds.h"
#include "keys/VirtualKeys.h"
#include "theme/Theme.h"

namespace luma {
namespace {

constexpr unsigned kLabelFormat = kDtVCenter | kDtSingleLine | kDtNoPrefix;
// A text box is worked out in 64 bits and held this far inside the 32-bit
// range, so that no outline, however far out, overflows the label arithmetic.
constexpr std::int64_t kTextBoxLimit = std::int64_t{1} << 29;
// More pixels than any key on a screen spans: a corner of a far-out outline
// stops moving here instead of walking billions of pixels one at a time.
constexpr int kMaxShrinkSteps = 1 << 14;

std::int32_t HeldCoordinate(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp(v, -kTextBoxLimit, kTextBoxLimit));
}

struct WideBox {
  std::int64_t left = 0, top = 0, right = 0, bottom = 0, cx = 0, cy = 0;

  TextBox Held() const {
    return {HeldCoordinate(left),   HeldCoordinate(top), HeldCoordinate(right),
            HeldCoordinate(bottom), HeldCoordinate(cx),  HeldCoordinate(cy)};
  }
};
// The hover look enlarges the labels by these many points.
constexpr int kHotCaptionGrowth = 2;
constexpr int kHotCharGrowth = 3;

// The parts of a two-part outline (Enter), each without the separator;
// none for an outline of one part, which is drawn as it is.
std::vector<std::vector<Point>> OutlineParts(const std::vector<Point>& points) {
  std::vector<std::vector<Point>> parts;
  if (std::find(points.begin(), points.end(), kOutlineSeparator) == points.end()) return parts;
  parts.emplace_back();
  for (const Point& p : points) {
    if (p == kOutlineSeparator)
      parts.emplace_back();
    else
      parts.back().push_back(p);
  }
  return parts;
}

void DrawOnePart(DrawingCanvas& canvas, const std::vector<Point>& points) {
  if (points.size() == 2)
    canvas.RoundRect(points[0].x, points[0].y, points[1].x, points[1].y, 5, 5);
  else if (points.size() > 2)
    canvas.Polygon(points);
}

// The arrow keys show a drawn arrow: glyphs would be there under one font and
// a name under another. The direction as (dx, dy), none for other keys.
bool ArrowDirection(int vk, int& dx, int& dy) {
  dx = dy = 0;
  switch (vk) {
    case kVkLeft:
      dx = -1;
      return true;
    case kVkUp:
      dy = -1;
      return true;
    case kVkRight:
      dx = 1;
      return true;
    case kVkDown:
      dy = 1;
      return true;
  }
  return false;
}

// An arrow of about the height of a line of text, centred in rect: a shaft
// and a head, as one polygon pointing along (dx, dy).
std::vector<Point> ArrowShape(const Rect& rect, std::int32_t lineHeight, int dx, int dy) {
  const std::int32_t room = std::min(rect.Width(), rect.Height()) - 2;
  const std::int32_t length = std::min(lineHeight, room);
  if (length < 4) return {};
  const std::int32_t cx = rect.left + rect.Width() / 2, cy = rect.top + rect.Height() / 2;
  const std::int32_t half = length / 2;
  const std::int32_t headHalfWidth = std::max(2, length * 2 / 5);
  const std::int32_t headLength = std::max(2, length / 2);
  const std::int32_t shaftHalfWidth = std::max(1, length / 8);
  // Along the arrow (u) and across it (v), the tip at u = half.
  const std::pair<std::int32_t, std::int32_t> local[] = {
      {-half, -shaftHalfWidth},
      {half - headLength, -shaftHalfWidth},
      {half - headLength, -headHalfWidth},
      {half, 0},
      {half - headLength, headHalfWidth},
      {half - headLength, shaftHalfWidth},
      {-half, shaftHalfWidth},
  };
  std::vector<Point> shape;
  for (const auto& [u, v] : local)
    shape.push_back(dx != 0 ? Point{cx + dx * u, cy + v} : Point{cx + v, cy + dy * u});
  return shape;
}

FontSpec LabelFont(const KeyFont& font, int size, Color color) {
  FontSpec label;
  label.name = font.Name;
  label.size = size;
  label.bold = font.Bold;
  label.italic = font.Italic;
  label.underline = font.Underline;
  label.strikeOut = font.StrikeOut;
  label.color = color;
  return label;
}

// Clears the brush for text without background, and makes it solid again
// however the drawing ends.
class ClearBrushScope {
 public:
  explicit ClearBrushScope(DrawingCanvas& canvas) : canvas_(canvas) { canvas_.SetBrushClear(true); }
  ~ClearBrushScope() { canvas_.SetBrushClear(false); }
  ClearBrushScope(const ClearBrushScope&) = delete;
  ClearBrushScope& operator=(const ClearBrushScope&) = delete;

 private:
  DrawingCanvas& canvas_;
};

class TextBoxFitter {
 public:
  TextBoxFitter(const Key& key, const std::vector<Point>& points) : key_(key), points_(points) {}

  WideBox Fit(DrawingCanvas& canvas, const KeyFont& captionFont, const std::u16string& name,
              int namePoints) {
    BoundingBox();
    Shrink();
    Cut();
    if (box_.bottom - box_.top >= 16 && box_.right - box_.left >= 16) return box_;

    // Too small: a box around the centre, big enough for the label.
    std::int64_t halfWidth = 16;
    std::int64_t halfHeight = 16;
    const int code = key_.Code();
    if (!IsCharKey(code) && !(code >= kVkF1 && code <= kVkF24)) {
      // Measured in the caption font; the font color is left as it is.
      canvas.SetFont(LabelFont(captionFont, namePoints, canvas.Font().color));
      const Size extent = canvas.TextExtent(name);
      halfWidth = std::max<std::int64_t>(extent.cx / 2 + 2, 16);
      halfHeight = std::max<std::int64_t>(extent.cy + 2, 16);
    }
    box_.left = box_.cx - halfWidth;
    box_.right = box_.cx + halfWidth;
    box_.top = box_.cy - halfHeight;
    box_.bottom = box_.cy + halfHeight;

    ShiftOntoPoints();
    Cut();
    if (Inside(box_.left, box_.top) && Inside(box_.right, box_.bottom) &&
        Inside(box_.left, box_.bottom) && Inside(box_.right, box_.top))
      return box_;

    BoundingBox();
    Shrink();
    Cut();
    return box_;
  }

 private:
  bool Inside(std::int64_t x, std::int64_t y) const {
    // No outline of 32-bit points reaches beyond the 32-bit range.
    const auto fits = [](std::int64_t v) { return v == static_cast<std::int32_t>(v); };
    bool part = false;
    return fits(x) && fits(y) &&
           key_.HitTest(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), part);
  }
  bool InInner(const Point& p) const {
    return box_.left + 1 <= p.x && p.x < box_.right - 1 && box_.top + 1 <= p.y &&
           p.y < box_.bottom - 1;
  }
  bool NotEmpty() const { return box_.right > box_.left && box_.bottom > box_.top; }

  void BoundingBox() {
    box_.left = box_.right = points_.front().x;
    box_.top = box_.bottom = points_.front().y;
    for (const Point& p : points_) {
      box_.left = std::min<std::int64_t>(box_.left, p.x);
      box_.right = std::max<std::int64_t>(box_.right, p.x);
      box_.top = std::min<std::int64_t>(box_.top, p.y);
      box_.bottom = std::max<std::int64_t>(box_.bottom, p.y);
    }
    box_.cx = (box_.left + box_.right) / 2;
    box_.cy = (box_.top + box_.bottom) / 2;
  }

  // Moves each corner inwards diagonally until it lies in the outline.
  void Shrink() {
    const auto moving = [this](int& steps, std::int64_t x, std::int64_t y) {
      return !Inside(x, y) && NotEmpty() && steps++ < kMaxShrinkSteps;
    };
    int a = 0, b = 0, c = 0, d = 0;
    while (moving(a, box_.left, box_.top)) ++box_.left, ++box_.top;
    while (moving(b, box_.right, box_.bottom)) --box_.right, --box_.bottom;
    while (moving(c, box_.left, box_.bottom)) ++box_.left, --box_.bottom;
    while (moving(d, box_.right, box_.top)) --box_.right, ++box_.top;
  }

  // Outline corners inside the box cut off the smaller side.
  void Cut() {
    for (const Point& p : points_) {
      if (!InInner(p)) continue;
      if (p.y - box_.top > box_.bottom - p.y)
        box_.bottom = p.y;
      else
        box_.top = p.y;
    }
  }

  // Outline corners inside the box push it off towards the nearer edge.
  void ShiftOntoPoints() {
    for (const Point& p : points_) {
      if (!InInner(p)) continue;
      const std::int64_t up = box_.bottom - p.y;
      const std::int64_t down = p.y - box_.top;
      if (down > up) {
        box_.top -= up;
        box_.bottom -= up;
      } else {
        box_.top += down;
        box_.bottom += down;
      }
    }
  }

  const Key& key_;
  const std::vector<Point>& points_;
  WideBox box_;
};

}  // namespace

int Key::OutlineOwnerCode() const { return outlineOwner_ ? outlineOwner_->code_ : code_; }

void Key::Refresh() {
  if (!keyboard_ || !keyboard_->Picture().PaintingEnabled()) return;
  Paint(*canvas_, false);
  for (const Rect& area : PaintAreas()) keyboard_->Picture().MarkChanged(area);
}

void Key::Paint(DrawingCanvas& canvas, bool outlineOnly) {
  if (!outlineOwner_ || outlineOwner_->points_.empty()) return;
  if (outlineOnly) {
    DrawOutline(canvas, outlineOwner_->points_, true);
    return;
  }
  ChooseColors(canvas, down_, hot_);
  DrawFace(outlineOwner_->points_);
}

void Key::ChooseColors(DrawingCanvas& canvas, bool down, bool hot) {
  colorsDown_ = down;
  colorsHot_ = hot;
  const Theme& t = keyboard_->Picture().KeyTheme();
  Color pen, brush;
  if (down) {
    pen = t.DownBorder, brush = t.DownFace, captionColor_ = t.DownCaption, charColor_ = t.DownChar;
  } else if (hot) {
    pen = t.HotBorder, brush = t.HotFace, captionColor_ = t.HotCaption, charColor_ = t.HotChar;
  } else {
    pen = t.RestBorder, brush = t.RestFace, captionColor_ = t.RestCaption, charColor_ = t.RestChar;
    // At rest it marks a key drawn as the background, unless asked for as a color.
    if (brush == kBackgroundFace && !keyboard_->Picture().BackgroundFaceDrawnAsColor())
      brush = t.BackColor;
  }
  canvas.SetPen(pen);
  canvas.SetBrush(brush);
}

void Key::MarkDrawnAtRest() { drawnDown_ = drawnHot_ = false; }

void Key::DrawOutline(DrawingCanvas& canvas, const std::vector<Point>& points, bool force) {
  if (points.size() < 2) return;
  // The working image already shows the outline in this state.
  if (!force && drawnDown_ == colorsDown_ && drawnHot_ == colorsHot_) return;
  drawnDown_ = colorsDown_;
  drawnHot_ = colorsHot_;
  const std::vector<std::vector<Point>> parts = OutlineParts(points);
  if (parts.empty()) {
    DrawOnePart(canvas, points);
    return;
  }
  for (const std::vector<Point>& part : parts) DrawOnePart(canvas, part);
}

TextBox Key::ComputeTextBox(const std::vector<Point>& points) {
  TextBox box;
  if (points.size() < 2) return box;
  if (points.size() == 2) {
    const std::int64_t x0 = points[0].x, y0 = points[0].y, x1 = points[1].x, y1 = points[1].y;
    return WideBox{x0, y0, x1 - 2, y1 - 2, (x0 + x1) / 2, (y0 + y1) / 2}.Held();
  }
  const KeyFont& font = keyboard_->Picture().KeyTheme().KeyFontSmall;
  // Measuring only: a size that draws nothing still measures as one point.
  const int namePoints = std::max(font.Size + (colorsHot_ ? kHotCaptionGrowth : 0), 1);
  return TextBoxFitter(*this, points)
      .Fit(*canvas_, font, keyboard_->Captions().KeyName(OutlineOwnerCode()), namePoints)
      .Held();
}

std::vector<TextBox> Key::LabelBoxes(const std::vector<Point>& points) {
  // Each part of a two-part key carries the label.
  std::vector<TextBox> boxes;
  const std::vector<std::vector<Point>> parts = OutlineParts(points);
  if (parts.empty()) boxes.push_back(ComputeTextBox(points));
  for (const std::vector<Point>& part : parts)
    if (part.size() >= 2) boxes.push_back(ComputeTextBox(part));
  for (TextBox& box : boxes) {
    if (down_) {
      // The label moves one pixel right and down; the outline stays.
      ++box.left, ++box.top, ++box.right, ++box.bottom, ++box.cx, ++box.cy;
    }
  }
  return boxes;
}

const TextBox& Key::MarksBox(const std::vector<TextBox>& boxes) const {
  // The marks show where the pointer is: on the part it rests on or pressed.
  return secondPartHit_ && boxes.size() > 1 ? boxes[1] : boxes.front();
}

void Key::DrawFace(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  const std::vector<TextBox> boxes = LabelBoxes(points);
  DrawOutline(*canvas_, points, false);
  for (const TextBox& box : boxes)
    if (!DrawCaption(box)) DrawCharLabel(box);
  // The hover progress and the lock mark, once.
  if (!boxes.empty()) DrawMarks(MarksBox(boxes));
}

bool Key::DrawCaption(const TextBox& box) {
  // A numeric-pad key with Num Lock off shows the key it stands in for.
  const int placeCode = keyboard_->Captions().SentCode(OutlineOwnerCode());
  if (IsCharKey(placeCode) || code_ == kVkSpace) return false;
  const KeyFont& font = keyboard_->Picture().KeyTheme().KeyFontSmall;
  int points = font.Size + (colorsHot_ ? kHotCaptionGrowth : 0);
  // A size of nothing is not drawn at all (and never reaches GDI).
  if (points <= 0) return true;
  DrawingCanvas& canvas = *canvas_;
  canvas.SetFont(LabelFont(font, points, captionColor_));
  const Rect rect{box.left + 2, box.top + 1, box.right, box.bottom};
  int dx = 0, dy = 0;
  if (ArrowDirection(placeCode, dx, dy)) {
    DrawArrow(rect, dx, dy);
    return true;
  }
  const ClearBrushScope clearBrush(canvas);
  const std::u16string_view text = keyboard_->Captions().KeyName(placeCode);
  if (text.empty()) return true;
  // A name too wide for its key is drawn smaller, down to two thirds of the
  // size; still too wide, its beginning stays visible and its end is clipped.
  const std::int64_t room = std::int64_t{box.right} - box.left - 2;
  const int smallest = std::max(1, points * 2 / 3);
  bool tooWide = canvas.TextExtent(text).cx > room;
  while (tooWide && points > smallest) {
    canvas.SetFont(LabelFont(font, --points, captionColor_));
    tooWide = canvas.TextExtent(text).cx > room;
  }
  DrawKeyText(canvas, rect, text, kLabelFormat | (tooWide ? kDtLeft : kDtCenter),
              keyboard_->Picture().TextBitmap());
  return true;
}

void Key::DrawArrow(const Rect& rect, int dx, int dy) {
  DrawingCanvas& canvas = *canvas_;
  const std::vector<Point> shape = ArrowShape(rect, canvas.TextExtent(u"M").cy, dx, dy);
  if (shape.empty()) return;
  // Filled in the label's color; the brush is the face's again afterwards,
  // which a label on a background face goes by.
  const Color face = canvas.BrushColor();
  canvas.SetPen(captionColor_);
  canvas.SetBrush(captionColor_);
  canvas.Polygon(shape);
  canvas.SetBrush(face);
}

void Key::DrawCharLabel(const TextBox& box) {
  if (code_ == kVkSpace) return;
  const KeyFont& font = keyboard_->Picture().KeyTheme().KeyFontLarge;
  const int points = font.Size + (colorsHot_ ? kHotCharGrowth : 0);
  if (points <= 0) return;
  DrawingCanvas& canvas = *canvas_;
  canvas.SetFont(LabelFont(font, points, charColor_));
  const ClearBrushScope clearBrush(canvas);
  const Rect rect{box.left + 2, box.top + 1, box.right, box.bottom};
  const std::u16string text(1, keyboard_->Captions().CharLabelFor(code_));
  DrawKeyText(canvas, rect, text, kLabelFormat | kDtCenter, keyboard_->Picture().TextBitmap());
}

void DrawKeyText(DrawingCanvas& canvas, const Rect& rect, std::u16string_view text, unsigned format,
                 Bitmap* textBitmap) {
  if (canvas.BrushColor() != kBackgroundFace || textBitmap == nullptr) {
    canvas.DrawText(text, rect, format);
    return;
  }
  const std::int32_t width = rect.Width();
  const std::int32_t height = rect.Height();
  if (width <= 0 || height <= 0) return;  // clipped away entirely
  textBitmap->SetSize(width, height);
  textBitmap->SetFont(canvas.Font());
  textBitmap->SetPen(kTextBitmapColor);
  textBitmap->SetBrush(kTextBitmapColor);
  textBitmap->SetBrushClear(false);
  textBitmap->FillRect({0, 0, width, height});
  textBitmap->DrawText(text, {0, 0, width, height}, format);
  canvas.DrawTransparent(*textBitmap, rect.left, rect.top, kTextBitmapColor);
}

}  // namespace luma
