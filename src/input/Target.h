// What a pointer, a hover or a switch can click: a key, or an item of another
// part of the client area (an item area).
#pragma once

#include <cstdint>

#include "platform/Types.h"

namespace luma {

struct Target {
  enum class Kind : std::uint8_t { None, Key, Item };
  Kind kind = Kind::None;
  // Key: its code. Item: its index in its area.
  int id = 0;
  // Item: which of the input's item areas, in the order they were added.
  int area = 0;
  // Key: in the second outline of a two-part key. One code serves both
  // Enter keys; only the outline tells the pad's from the main one.
  bool secondPart = false;
  friend bool operator==(const Target&, const Target&) = default;

  static Target Key(int vk, bool secondPart = false) { return {Kind::Key, vk, 0, secondPart}; }
  static Target Item(int area, int index) { return {Kind::Item, index, area, false}; }
};

// A part of the client area beside the keys whose items can be clicked: it
// draws them, tells which one a point holds and does what choosing one means.
class ItemArea {
 public:
  virtual ~ItemArea() = default;
  // Where it lies, in client pixels; empty while it is not shown.
  virtual Rect Bounds() const = 0;
  // The item at a point of the client area within Bounds; -1: the area's
  // background, which moves the window like the keys' background.
  virtual int ItemAt(Point p) const = 0;
  // The item under the pointer, drawn as hot; -1: none.
  virtual void SetHot(int item) = 0;
  // Chosen, by a button, a hover or a switch.
  virtual void Choose(int item) = 0;
  // A hover's progress on the item, per mille; 0 takes the mark away.
  virtual void ShowProgress(int item, int permille) = 0;
  // How many places for items it has, and where one lies in client pixels;
  // empty while the place holds no item. A switch steps through them: an
  // area that tells none is skipped.
  virtual int ItemCount() const { return 0; }
  virtual Rect ItemBounds(int /*item*/) const { return {}; }
};

// The one way every input clicks a target, whatever chose it: a button, a
// hover or a switch.
class TargetClicks {
 public:
  virtual ~TargetClicks() = default;
  virtual void Click(const Target& target) = 0;
};

}  // namespace luma
