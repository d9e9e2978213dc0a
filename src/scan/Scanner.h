// Typing with switches: a highlight steps through the groups, rows and keys
// (ScanModel.h), and a switch picks the highlighted one. Automatic: one
// switch, the highlight steps by itself every interval. Step: one switch
// steps, the other picks, nothing moves alone. A picked key or word is
// clicked through the one path every input clicks through.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/Target.h"
#include "keyboard/Keyboard.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "scan/ScanModel.h"
#include "settings/Options.h"

namespace luma {

struct ScanHighlight {
  // Stopped: the automatic scan ran two rounds at the top without a pick
  // and waits for the switch; its area is the box of everything scanned.
  enum class Kind : std::uint8_t { None, Group, Row, Item, Back, Stopped };
  Kind kind = Kind::None;
  Rect area;      // client pixels; empty for none
  Target target;  // an item's
  friend bool operator==(const ScanHighlight&, const ScanHighlight&) = default;
};

// Told each change of the highlight, so that a picture can copy only the
// two areas.
class ScanListener {
 public:
  virtual ~ScanListener() = default;
  virtual void HighlightChanged(const ScanHighlight& before, const ScanHighlight& now) = 0;
};

enum class ScanSwitch : std::uint8_t {
  Pick,  // the one switch of the automatic scan
  Next   // the step switch of the step mode
};

// What the scanner drives; all of it outlives the scanner.
struct ScanParts {
  Keyboard& keyboard;
  TargetClicks& clicks;
  Timer& timer;  // its ticks go to Tick
};

class Scanner {
 public:
  explicit Scanner(const ScanParts& parts);
  Scanner(const Scanner&) = delete;
  Scanner& operator=(const Scanner&) = delete;

  // The same areas in the same order as the input's, so that a picked item
  // is the target a click on it makes.
  void AddItemArea(const ItemArea& area) { areas_.push_back(&area); }
  void SetKeyOrigin(Point origin) { keyOrigin_ = origin; }
  void SetListener(ScanListener* listener) { listener_ = listener; }

  // Time, mode, restart, lockout and acceptance; a new mode starts again at
  // the top. Whether scanning is on is the caller's: Start and Stop.
  void ApplyOptions(const Options& options);
  // Scanning on: the highlight at the top's first item.
  void Start();
  // Scanning off: no highlight, no timer, a held switch forgotten.
  void Stop();
  bool On() const { return on_; }
  // The automatic scan waits for the switch after two rounds at the top.
  bool Stopped() const { return stopped_; }
  // The keys or the item areas were laid out anew (a layout loaded or
  // switched, a new size, the word row shown or hidden): the scan starts
  // again at the top. A change of the layout's name, the keys' size or an
  // area's bounds is also noticed at the next step or press.
  void LayoutChanged();

  // The switches, with the time of each event in milliseconds (any clock
  // that wraps at 2^32). A press counts at its down, or with an acceptance
  // time at its up when held that long; it picks what was highlighted at
  // its down.
  void SwitchDown(ScanSwitch which, std::uint32_t timeMs);
  void SwitchUp(ScanSwitch which, std::uint32_t timeMs);
  void Tick();

  const ScanHighlight& Highlight() const { return highlight_; }

 private:
  struct Press {
    bool down = false;
    std::uint32_t time = 0;
    std::vector<int> path;  // where the highlight was at the down
    bool whileStopped = false;
  };

  void Rebuild();
  // The layout's name, the keys' size and the areas' bounds, as last built.
  std::string Shape() const;
  bool ShapeChanged() const { return Shape() != shape_; }
  // The list the highlight steps through now; empty when nothing is scanned.
  const std::vector<ScanNode>& CurrentLevel() const;
  const ScanNode* Current() const;
  bool ValidPath(const std::vector<int>& path) const;
  // The highlight at a level's first item, held 1.5 intervals in the
  // automatic scan.
  void EnterLevel(std::vector<int> path);
  void Restart() { EnterLevel({0}); }
  void StepForward(bool countRounds);
  void Act(ScanSwitch which, const Press& press, std::uint32_t timeMs);
  void Pick(const Press& press);
  // At the top, or at the first item of the row picked from (found again by
  // its place: a row of words that came or went moves the others).
  void RestartAfterItem(const std::vector<int>& rowPath, const Rect& rowArea);
  void TimeNextStep(std::uint32_t intervalMs);
  void Show();

  Keyboard& keyboard_;
  TargetClicks& clicks_;
  Timer& timer_;
  ScanListener* listener_ = nullptr;
  std::vector<const ItemArea*> areas_;
  Point keyOrigin_;

  std::uint32_t intervalMs_ = 1000;
  ScanMode mode_ = ScanMode::kAutomatic;
  ScanRestart restart_ = ScanRestart::kTop;
  std::uint32_t lockoutMs_ = 250;
  std::uint32_t acceptMs_ = 0;

  std::vector<ScanNode> top_;
  std::string shape_;
  bool on_ = false;
  bool stopped_ = false;
  // Index at each level from the top; the last is the highlighted one.
  std::vector<int> path_;
  int rounds_ = 0;          // full rounds at this level since it was entered
  bool longFirst_ = false;  // the running interval is the first item's
  Press presses_[2];
  bool picked_ = false;
  std::uint32_t lastPickMs_ = 0;
  ScanHighlight highlight_;
};

}  // namespace luma
