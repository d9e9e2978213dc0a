#include "scan/ScanPicture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace luma {
namespace {

// Saturated colors first: black or white alone would look like one more key
// border in most schemes.
constexpr Color kVividColors[] = {Rgb(190, 0, 190), Rgb(255, 210, 0)};
constexpr Color kBlack = Rgb(0, 0, 0), kWhite = Rgb(255, 255, 255);
// Below this a frame no longer stands out from what it lies on.
constexpr double kLeastContrast = 3.0;
// Of 256: how far a tinted pixel goes towards the tint.
constexpr int kTintWeight = 85;
// What lies under a pixel the tint has not reached: the pictures leave the
// top byte of their pixels clear.
constexpr std::uint32_t kNotTinted = 0xFFFFFFFF;

double Luminance(Color c) {
  const auto linear = [](unsigned channel) {
    const double v = channel / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(RedOf(c)) + 0.7152 * linear(GreenOf(c)) + 0.0722 * linear(BlueOf(c));
}

Color Resolved(Color c, SystemColors& sys) { return IsSysColor(c) ? sys.GetSysColor(c & 0xFF) : c; }

bool IsEmptyArea(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect Intersection(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

bool Overlap(const Rect& a, const Rect& b) { return !IsEmptyArea(Intersection(a, b)); }

Rect Moved(const Rect& r, std::int32_t dx, std::int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool Within(const Rect& inner, const Rect& outer) {
  return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

struct Band {
  Rect rect;  // client pixels
  bool inner = false;
};

void AddFrame(std::vector<Band>& bands, const Rect& box, std::int32_t width, bool inner) {
  if (IsEmptyArea(box)) return;
  width = std::min({width, (box.Width() + 1) / 2, (box.Height() + 1) / 2});
  bands.push_back({{box.left, box.top, box.right, box.top + width}, inner});
  bands.push_back({{box.left, box.bottom - width, box.right, box.bottom}, inner});
  bands.push_back({{box.left, box.top + width, box.left + width, box.bottom - width}, inner});
  bands.push_back({{box.right - width, box.top + width, box.right, box.bottom - width}, inner});
}

// The frame in dashes of both colors by turns.
void AddDashedFrame(std::vector<Band>& bands, const Rect& box, std::int32_t width) {
  std::vector<Band> frame;
  AddFrame(frame, box, width, false);
  const std::int32_t dash = 3 * width;
  for (const Band& side : frame) {
    const bool across = side.rect.Width() >= side.rect.Height();
    const std::int32_t from = across ? side.rect.left : side.rect.top;
    const std::int32_t to = across ? side.rect.right : side.rect.bottom;
    bool inner = false;
    for (std::int32_t at = from; at < to; at += dash, inner = !inner) {
      const std::int32_t end = std::min(to, at + dash);
      Rect r = side.rect;
      (across ? r.left : r.top) = at;
      (across ? r.right : r.bottom) = end;
      bands.push_back({r, inner});
    }
  }
}

std::int32_t InnerWidth(std::int32_t width) { return std::max(1, width / 3); }

std::vector<Band> Bands(const ScanHighlight& h, const Rect& box, std::int32_t width) {
  std::vector<Band> bands;
  switch (h.kind) {
    case ScanHighlight::Kind::None:
      break;
    case ScanHighlight::Kind::Stopped:
      AddFrame(bands, box, std::max(1, width / 3), false);
      break;
    case ScanHighlight::Kind::Back:
      AddDashedFrame(bands, box, width);
      break;
    default: {
      AddFrame(bands, box, width, false);
      AddFrame(bands, {box.left + width, box.top + width, box.right - width, box.bottom - width},
               InnerWidth(width), true);
      break;
    }
  }
  return bands;
}

}  // namespace

double ContrastRatio(Color a, Color b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

HighlightColors HighlightColorsFor(const SchemeColors& colors, SystemColors& sys) {
  std::vector<Color> faces{Resolved(colors.BackColor, sys)};
  if (colors.RestFace != kBackgroundFace) faces.push_back(Resolved(colors.RestFace, sys));
  const auto leastContrast = [&](Color c) {
    double least = 21.0;
    for (Color face : faces) least = std::min(least, ContrastRatio(c, face));
    return least;
  };
  const auto best = [&](auto first, auto last) {
    return *std::max_element(first, last,
                             [&](Color a, Color b) { return leastContrast(a) < leastContrast(b); });
  };
  Color frame = best(std::begin(kVividColors), std::end(kVividColors));
  if (leastContrast(frame) < kLeastContrast) {
    const Color plain[] = {kBlack, kWhite};
    frame = best(std::begin(plain), std::end(plain));
  }
  const Color inner =
      ContrastRatio(frame, kBlack) >= ContrastRatio(frame, kWhite) ? kBlack : kWhite;
  return {frame, inner};
}

Color Tinted(Color color, Color tint) {
  // Red and blue, then green, each in its own bits of one product.
  constexpr Color kKeep = 256 - kTintWeight;
  const Color redBlue =
      (((color & 0xFF00FF) * kKeep + (tint & 0xFF00FF) * kTintWeight) >> 8) & 0xFF00FF;
  const Color green = (((color & 0xFF00) * kKeep + (tint & 0xFF00) * kTintWeight) >> 8) & 0xFF00;
  return (color & 0xFF000000) | redBlue | green;
}

void TintedPixels::Apply(Bitmap& image, const Rect& area, const Rect& clip, Color tint) {
  std::uint32_t* pixels = image.Pixels();
  if (pixels == nullptr) return;
  const Color tintPixel = Rgb(BlueOf(tint), GreenOf(tint), RedOf(tint));
  if (!(area == area_) || tintPixel != tint_ || IsEmptyArea(area_)) {
    area_ = area;
    tint_ = tintPixel;
    under_.assign(IsEmptyArea(area) ? 0 : static_cast<std::size_t>(area.Width()) * area.Height(),
                  kNotTinted);
  }
  const Rect r = Intersection(Intersection(area, clip), {0, 0, image.Width(), image.Height()});
  for (std::int32_t y = r.top; y < r.bottom; ++y) {
    std::uint32_t* __restrict row = pixels + static_cast<std::size_t>(y) * image.Width();
    std::uint32_t* __restrict under =
        under_.data() + static_cast<std::size_t>(y - area.top) * area.Width();
    // Without branches, so that the compiler can take several pixels at once.
    for (std::int32_t x = r.left; x < r.right; ++x) {
      const std::uint32_t pixel = row[x], below = under[x - area.left];
      // A pixel that is not what the tint made of it was painted since.
      const bool painted = below == kNotTinted || pixel != Tinted(below, tintPixel);
      under[x - area.left] = painted ? pixel : below;
      row[x] = painted ? Tinted(pixel, tintPixel) : pixel;
    }
  }
}

Rect TintedPixels::Remove(Bitmap& image) {
  const Rect area = area_;
  std::uint32_t* pixels = image.Pixels();
  const Rect r = Intersection(area, {0, 0, image.Width(), image.Height()});
  const Color tint = tint_;
  for (std::int32_t y = r.top; pixels != nullptr && y < r.bottom; ++y) {
    std::uint32_t* __restrict row = pixels + static_cast<std::size_t>(y) * image.Width();
    const std::uint32_t* __restrict under =
        under_.data() + static_cast<std::size_t>(y - area.top) * area.Width();
    for (std::int32_t x = r.left; x < r.right; ++x) {
      const std::uint32_t pixel = row[x], below = under[x - area.left];
      row[x] = below != kNotTinted && pixel == Tinted(below, tint) ? below : pixel;
    }
  }
  area_ = {};
  under_.clear();
  return area;
}

ScanPicture::ScanPicture(Keyboard& keyboard, SystemColors& sys, WordRow* row)
    : keyboard_(keyboard), sys_(sys), row_(row) {
  keyboard_.Picture().SetOverlay(&keyLayer_);
  if (row_) row_->SetOverlay(&rowLayer_);
}

ScanPicture::~ScanPicture() {
  keyboard_.Picture().SetOverlay(nullptr);
  if (row_) row_->SetOverlay(nullptr);
}

std::int32_t ScanPicture::FrameWidth() const {
  return std::max<std::int32_t>(2, (keyboard_.EscapeKeySize().cy + 5) / 10);
}

void ScanPicture::HighlightChanged(const ScanHighlight& before, const ScanHighlight& now) {
  highlight_ = now;
  KeyPicture& picture = keyboard_.Picture();
  if (picture.PaintingEnabled()) {
    picture.MarkChanged(keyLayer_.Tint().Remove(picture.WorkImage()));
    RestoreKeys(before);
    picture.MarkChanged(Moved(Box(now), -keyOrigin_.x, -keyOrigin_.y));
    // The new frame is drawn as the areas are copied.
    picture.CopyChanges();
  }
  if (row_ && (InRow(Box(before)) || InRow(Box(now)))) {
    // The row paints every pixel again: no tint is left to take away.
    rowLayer_.Tint() = {};
    row_->Redraw();
  }
}

bool ScanPicture::InRow(const Rect& area) const { return Overlap(row_->Bounds(), area); }

Rect ScanPicture::Box(const ScanHighlight& h) const {
  if (h.kind == ScanHighlight::Kind::None || h.area.right < h.area.left ||
      h.area.bottom < h.area.top)
    return {};
  // The row's areas are bounds already; the keys' are boxes of outline
  // corners, and the outline's pen reaches one pixel past the right and
  // bottom ones.
  if (row_ && Within(h.area, row_->Bounds())) return h.area;
  return {h.area.left, h.area.top, h.area.right + 1, h.area.bottom + 1};
}

Rect ScanPicture::TintArea() const {
  if (highlight_.kind != ScanHighlight::Kind::Group && highlight_.kind != ScanHighlight::Kind::Row)
    return {};
  const Rect box = Box(highlight_);
  const std::int32_t inset = FrameWidth() + InnerWidth(FrameWidth());
  return {box.left + inset, box.top + inset, box.right - inset, box.bottom - inset};
}

void ScanPicture::RestoreKeys(const ScanHighlight& old) {
  std::vector<Rect> bands;
  for (const Band& band : Bands(old, Box(old), FrameWidth()))
    bands.push_back(Moved(band.rect, -keyOrigin_.x, -keyOrigin_.y));
  keyboard_.Picture().RestoreAreas(bands);
}

void ScanPicture::Draw(Bitmap& image, Point origin, const Rect& clip) const {
  const std::vector<Band> bands = Bands(highlight_, Box(highlight_), FrameWidth());
  if (bands.empty()) return;
  const HighlightColors colors = HighlightColorsFor(keyboard_.Picture().KeyTheme(), sys_);
  for (const Band& band : bands) {
    const Rect r = Intersection(Moved(band.rect, -origin.x, -origin.y), clip);
    if (IsEmptyArea(r)) continue;
    const Color color = band.inner ? colors.inner : colors.frame;
    image.SetPen(color);
    image.SetBrush(color);
    image.FillRect(r);
  }
}

void ScanPicture::Layer::DrawOver(Bitmap& image, const Rect& area) {
  const Point origin = keys_ ? owner_.KeysOrigin() : Point{};
  const Rect tint = owner_.TintArea();
  if (!IsEmptyArea(tint))
    tint_.Apply(image, Moved(tint, -origin.x, -origin.y), area,
                HighlightColorsFor(owner_.keyboard_.Picture().KeyTheme(), owner_.sys_).frame);
  owner_.Draw(image, origin, area);
}

}  // namespace luma
