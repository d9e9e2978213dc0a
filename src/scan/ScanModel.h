// What a switch steps through: the keys gathered into rows, the rows of a
// keyboard with separate blocks (main keys, navigation block, pad) into one
// group per block, and each item area with something to choose as one row
// more. Built from the keys' outlines as they are drawn now, so a layout of
// any shape scans in the order it reads.
#pragma once

#include <cstdint>
#include <vector>

#include "input/Target.h"
#include "keyboard/Keyboard.h"
#include "platform/Types.h"

namespace luma {

struct ScanNode {
  enum class Kind : std::uint8_t { Group, Row, Item, Back };
  Kind kind = Kind::Item;
  // Client pixels: an item's outline box (one part of a two-part key); a
  // group's or a row's box around its keys, an item area's row its bounds;
  // a back step's, the box of what it leaves.
  Rect area;
  Target target;  // an item's
  // A group's rows, a row's items; both end with a back step.
  std::vector<ScanNode> children;
};

// The item areas in the order the input was given them, so that an item's
// target is the one a click of it makes.
struct ScanSources {
  Keyboard& keyboard;
  Point keyOrigin;  // where the keys' area starts in the client area
  std::vector<const ItemArea*> areas;
};

// The top level: the item areas that hold items, as rows, above the keys;
// then the keys' blocks left to right, or, when the keys form one block, its
// rows top to bottom. A block of one row is that row. A key lies in the row
// whose band holds the vertical centre of its outline, once per row; a
// two-part key is an item where each part lies, unless another key is hit
// there first. Blocks are parted by an empty vertical strip between keys at
// least a fifth of a typical key's width.
std::vector<ScanNode> BuildScanNodes(const ScanSources& sources);

}  // namespace luma
