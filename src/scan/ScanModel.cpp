#include "scan/ScanModel.h"

#include <algorithm>
#include <climits>

namespace luma {
namespace {

// One place a key can be picked at: a part of its outline, in client pixels.
struct KeyPart {
  Rect box;
  int code = 0;
  bool secondPart = false;
};

bool IsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

// A layout may put outlines anywhere a coordinate reaches: moved into the
// client area they stop at its ends rather than wrap.
std::int32_t Moved(std::int32_t value, std::int32_t by) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(std::int64_t{value} + by, INT32_MIN, INT32_MAX));
}

std::int64_t Width(const Rect& r) { return std::int64_t{r.right} - r.left; }

Rect Around(const Rect& a, const Rect& b) {
  if (IsEmpty(a)) return b;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// Twice the vertical centre, so that odd heights need no rounding.
std::int64_t DoubleCentreY(const Rect& r) { return std::int64_t{r.top} + r.bottom; }

// The box of each part of an outline, the parts parted by the separator.
std::vector<Rect> PartBoxes(const std::vector<Point>& points) {
  std::vector<Rect> boxes;
  for (auto part = points.begin(); part != points.end();) {
    const auto end = std::find(part, points.end(), kOutlineSeparator);
    if (part != end) {
      Rect box{part->x, part->y, part->x, part->y};
      for (auto p = part; p != end; ++p) {
        box.left = std::min(box.left, p->x);
        box.top = std::min(box.top, p->y);
        box.right = std::max(box.right, p->x);
        box.bottom = std::max(box.bottom, p->y);
      }
      boxes.push_back(box);
    }
    part = end == points.end() ? end : end + 1;
  }
  return boxes;
}

std::vector<KeyPart> KeyParts(Keyboard& keyboard, Point origin) {
  std::vector<KeyPart> parts;
  for (int code = 1; code <= 255; ++code) {
    Key* key = keyboard.KeyFor(code);
    if (key == nullptr || key->OutlineOwner() == nullptr) continue;
    const std::vector<Rect> boxes = PartBoxes(key->OutlineOwner()->Points());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const Rect& box = boxes[i];
      if (IsEmpty(box)) continue;
      // Where keys overlap a click hits the first in code order; the switch
      // must pick what a click there would.
      const KeyHit hit =
          keyboard.KeyAt(static_cast<std::int32_t>((std::int64_t{box.left} + box.right) / 2),
                         static_cast<std::int32_t>(DoubleCentreY(box) / 2));
      if (hit.key != nullptr && hit.key != key) continue;
      parts.push_back({{Moved(box.left, origin.x), Moved(box.top, origin.y),
                        Moved(box.right, origin.x), Moved(box.bottom, origin.y)},
                       code,
                       i > 0});
    }
  }
  return parts;
}

ScanNode BackStep(const Rect& area) { return {ScanNode::Kind::Back, area, {}, {}}; }

// A row or group of items, its box around them unless given, a back step at
// its end.
ScanNode Level(ScanNode::Kind kind, std::vector<ScanNode> children, Rect area = {}) {
  ScanNode node{kind, area, {}, std::move(children)};
  if (IsEmpty(area))
    for (const ScanNode& child : node.children) node.area = Around(node.area, child.area);
  node.children.push_back(BackStep(node.area));
  return node;
}

// Vertical strips free of keys, wide enough to tell blocks from the seams
// between neighbouring keys, part the keys into blocks, left to right.
std::vector<std::vector<KeyPart>> Blocks(std::vector<KeyPart> parts) {
  std::vector<std::vector<KeyPart>> blocks;
  if (parts.empty()) return blocks;
  std::vector<std::int64_t> widths;
  for (const KeyPart& part : parts) widths.push_back(Width(part.box));
  std::nth_element(widths.begin(), widths.begin() + static_cast<std::ptrdiff_t>(widths.size() / 2),
                   widths.end());
  const std::int64_t minimumGap = std::max<std::int64_t>(1, widths[widths.size() / 2] / 5);

  std::stable_sort(parts.begin(), parts.end(),
                   [](const KeyPart& a, const KeyPart& b) { return a.box.left < b.box.left; });
  std::int64_t right = parts.front().box.right;
  blocks.emplace_back();
  for (const KeyPart& part : parts) {
    if (std::int64_t{part.box.left} - right >= minimumGap) blocks.emplace_back();
    right = std::max<std::int64_t>(right, part.box.right);
    blocks.back().push_back(part);
  }
  return blocks;
}

// Top to bottom: a row is the band of its first key (the highest centre);
// every key whose centre lies inside that band joins it.
std::vector<ScanNode> Rows(std::vector<KeyPart> parts) {
  std::stable_sort(parts.begin(), parts.end(), [](const KeyPart& a, const KeyPart& b) {
    return DoubleCentreY(a.box) < DoubleCentreY(b.box);
  });
  std::vector<std::vector<KeyPart>> bands;
  Rect band;
  for (const KeyPart& part : parts) {
    const std::int64_t centre = DoubleCentreY(part.box);
    if (bands.empty() || centre >= 2 * std::int64_t{band.bottom} ||
        centre <= 2 * std::int64_t{band.top}) {
      bands.emplace_back();
      band = part.box;
    }
    bands.back().push_back(part);
  }
  std::vector<ScanNode> rows;
  for (std::vector<KeyPart>& keys : bands) {
    std::stable_sort(keys.begin(), keys.end(),
                     [](const KeyPart& a, const KeyPart& b) { return a.box.left < b.box.left; });
    std::vector<ScanNode> items;
    for (const KeyPart& key : keys) {
      const bool seen = std::any_of(items.begin(), items.end(),
                                    [&](const ScanNode& n) { return n.target.id == key.code; });
      if (!seen)
        items.push_back({ScanNode::Kind::Item, key.box, Target::Key(key.code, key.secondPart), {}});
    }
    rows.push_back(Level(ScanNode::Kind::Row, std::move(items)));
  }
  return rows;
}

}  // namespace

std::vector<ScanNode> BuildScanNodes(const ScanSources& sources) {
  std::vector<ScanNode> top;
  for (std::size_t a = 0; a < sources.areas.size(); ++a) {
    const ItemArea* area = sources.areas[a];
    if (area == nullptr) continue;
    std::vector<ScanNode> items;
    for (int i = 0; i < area->ItemCount(); ++i) {
      const Rect box = area->ItemBounds(i);
      if (!IsEmpty(box))
        items.push_back({ScanNode::Kind::Item, box, Target::Item(static_cast<int>(a), i), {}});
    }
    // The whole area, not the box of the items it holds now: new words keep
    // it the same row, to come back to after a pick.
    if (!items.empty()) top.push_back(Level(ScanNode::Kind::Row, std::move(items), area->Bounds()));
  }

  const std::vector<std::vector<KeyPart>> blocks =
      Blocks(KeyParts(sources.keyboard, sources.keyOrigin));
  for (const std::vector<KeyPart>& block : blocks) {
    std::vector<ScanNode> rows = Rows(block);
    if (blocks.size() == 1) {
      for (ScanNode& row : rows) top.push_back(std::move(row));
    } else if (rows.size() == 1) {
      top.push_back(std::move(rows.front()));
    } else {
      top.push_back(Level(ScanNode::Kind::Group, std::move(rows)));
    }
  }
  return top;
}

}  // namespace luma
