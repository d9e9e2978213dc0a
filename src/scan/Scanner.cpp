#include "scan/Scanner.h"

#include <algorithm>

namespace luma {
namespace {

std::uint32_t HeldTo(std::int32_t value, std::int32_t low, std::int32_t high) {
  return static_cast<std::uint32_t>(std::clamp(value, low, high));
}

ScanHighlight::Kind KindOf(ScanNode::Kind kind) {
  switch (kind) {
    case ScanNode::Kind::Group:
      return ScanHighlight::Kind::Group;
    case ScanNode::Kind::Row:
      return ScanHighlight::Kind::Row;
    case ScanNode::Kind::Item:
      return ScanHighlight::Kind::Item;
    case ScanNode::Kind::Back:
      return ScanHighlight::Kind::Back;
  }
  return ScanHighlight::Kind::None;
}

// The path of the row whose place is area, depth first; empty: none.
bool FindRow(const std::vector<ScanNode>& level, const Rect& area, std::vector<int>& path) {
  for (std::size_t i = 0; i < level.size(); ++i) {
    const ScanNode& node = level[i];
    path.push_back(static_cast<int>(i));
    if (node.kind == ScanNode::Kind::Row && node.area == area) return true;
    if (node.kind == ScanNode::Kind::Group && FindRow(node.children, area, path)) return true;
    path.pop_back();
  }
  return false;
}

}  // namespace

Scanner::Scanner(const ScanParts& parts)
    : keyboard_(parts.keyboard), clicks_(parts.clicks), timer_(parts.timer) {}

void Scanner::ApplyOptions(const Options& options) {
  const std::uint32_t interval = HeldTo(options.scanTimeMs, kMinScanTimeMs, kMaxScanTimeMs);
  const bool newMode = options.scanMode != mode_;
  const bool newInterval = interval != intervalMs_;
  intervalMs_ = interval;
  mode_ = options.scanMode;
  restart_ = options.scanRestart;
  lockoutMs_ = HeldTo(options.scanLockoutMs, 0, kMaxScanLockoutMs);
  acceptMs_ = HeldTo(options.scanAcceptMs, 0, kMaxScanAcceptMs);
  if (!on_) return;
  if (newMode) {
    Rebuild();
    Restart();
  } else if (newInterval && timer_.Running()) {
    // A slower speed must not wait out the old interval, nor a faster one.
    longFirst_ = false;
    TimeNextStep(intervalMs_);
  }
}

void Scanner::Start() {
  on_ = true;
  for (Press& press : presses_) press = {};
  Rebuild();
  Restart();
}

void Scanner::Stop() {
  on_ = false;
  stopped_ = false;
  longFirst_ = false;
  timer_.Stop();
  path_.clear();
  for (Press& press : presses_) press = {};
  Show();
}

void Scanner::LayoutChanged() {
  if (!on_) return;
  Rebuild();
  Restart();
}

void Scanner::Rebuild() {
  top_ = BuildScanNodes({keyboard_, keyOrigin_, areas_});
  shape_ = Shape();
}

std::string Scanner::Shape() const {
  std::string shape = keyboard_.LayoutName();
  const auto add = [&shape](std::int64_t value) { shape += ' ' + std::to_string(value); };
  add(keyboard_.Width()), add(keyboard_.Height()), add(keyOrigin_.x), add(keyOrigin_.y);
  for (const ItemArea* area : areas_) {
    const Rect bounds = area->Bounds();
    add(bounds.left), add(bounds.top), add(bounds.right), add(bounds.bottom);
  }
  return shape;
}

bool Scanner::ValidPath(const std::vector<int>& path) const {
  const std::vector<ScanNode>* level = &top_;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] < 0 || static_cast<std::size_t>(path[i]) >= level->size()) return false;
    level = &(*level)[static_cast<std::size_t>(path[i])].children;
  }
  return !path.empty();
}

const std::vector<ScanNode>& Scanner::CurrentLevel() const {
  const std::vector<ScanNode>* level = &top_;
  for (std::size_t i = 0; i + 1 < path_.size(); ++i)
    level = &(*level)[static_cast<std::size_t>(path_[i])].children;
  return *level;
}

const ScanNode* Scanner::Current() const {
  if (path_.empty()) return nullptr;
  return &CurrentLevel()[static_cast<std::size_t>(path_.back())];
}

void Scanner::EnterLevel(std::vector<int> path) {
  stopped_ = false;
  rounds_ = 0;
  longFirst_ = false;
  if (!ValidPath(path)) path = {0};
  if (!ValidPath(path)) {
    // Nothing to scan: no keys, no items.
    path_.clear();
    timer_.Stop();
    Show();
    return;
  }
  path_ = std::move(path);
  if (mode_ == ScanMode::kAutomatic) {
    // The first item stays longer: the user has just looked away to press.
    longFirst_ = true;
    TimeNextStep(intervalMs_ + intervalMs_ / 2);
  } else {
    timer_.Stop();
  }
  Show();
}

void Scanner::TimeNextStep(std::uint32_t intervalMs) { timer_.Start(intervalMs); }

void Scanner::Tick() {
  if (!on_ || mode_ != ScanMode::kAutomatic || stopped_ || path_.empty()) {
    timer_.Stop();
    return;
  }
  if (ShapeChanged()) {
    Rebuild();
    Restart();
    return;
  }
  StepForward(true);
}

void Scanner::StepForward(bool countRounds) {
  if (path_.empty()) return;
  const int count = static_cast<int>(CurrentLevel().size());
  int next = path_.back() + 1;
  if (next >= count) {
    next = 0;
    if (countRounds && ++rounds_ >= 2) {
      rounds_ = 0;
      if (path_.size() == 1) {
        stopped_ = true;
        longFirst_ = false;
        timer_.Stop();
        Show();
        return;
      }
      // Up a level, onto what was picked to come down.
      path_.pop_back();
      next = path_.back();
    }
  }
  path_.back() = next;
  if (longFirst_ && mode_ == ScanMode::kAutomatic) {
    longFirst_ = false;
    TimeNextStep(intervalMs_);
  }
  Show();
}

void Scanner::SwitchDown(ScanSwitch which, std::uint32_t timeMs) {
  if (!on_) return;
  Press& press = presses_[static_cast<std::size_t>(which)];
  // A held key's repeats are no new presses.
  if (press.down) return;
  press = {true, timeMs, path_, stopped_};
  if (acceptMs_ == 0) Act(which, press, timeMs);
}

void Scanner::SwitchUp(ScanSwitch which, std::uint32_t timeMs) {
  if (!on_) return;
  Press& press = presses_[static_cast<std::size_t>(which)];
  if (!press.down) return;
  press.down = false;
  if (acceptMs_ > 0 && timeMs - press.time >= acceptMs_) Act(which, press, timeMs);
}

void Scanner::Act(ScanSwitch which, const Press& press, std::uint32_t timeMs) {
  // A bouncing switch or a tremor must not pick twice.
  if (picked_ && press.time - lastPickMs_ < lockoutMs_) return;
  if (ShapeChanged()) {
    // What the press was aimed at is gone: show the new keys from the top.
    Rebuild();
    Restart();
    return;
  }
  if (which == ScanSwitch::Next) {
    if (mode_ == ScanMode::kStep) StepForward(false);
    return;
  }
  picked_ = true;
  lastPickMs_ = timeMs;
  Pick(press);
}

void Scanner::Pick(const Press& press) {
  if (press.whileStopped || stopped_ || !ValidPath(press.path)) {
    Rebuild();
    Restart();
    return;
  }
  std::vector<int> path = press.path;
  const ScanNode* node = &top_[static_cast<std::size_t>(path[0])];
  for (std::size_t i = 1; i < path.size(); ++i)
    node = &node->children[static_cast<std::size_t>(path[i])];
  switch (node->kind) {
    case ScanNode::Kind::Group:
    case ScanNode::Kind::Row:
      path.push_back(0);
      EnterLevel(std::move(path));
      break;
    case ScanNode::Kind::Back:
      path.pop_back();
      EnterLevel(std::move(path));
      break;
    case ScanNode::Kind::Item: {
      // The click may lay out anew what the nodes were built from.
      const Target target = node->target;
      path.pop_back();
      Rect rowArea;
      if (!path.empty()) {
        const ScanNode* row = &top_[static_cast<std::size_t>(path[0])];
        for (std::size_t i = 1; i < path.size(); ++i)
          row = &row->children[static_cast<std::size_t>(path[i])];
        rowArea = row->area;
      }
      clicks_.Click(target);
      RestartAfterItem(path, rowArea);
      break;
    }
  }
}

void Scanner::RestartAfterItem(const std::vector<int>& rowPath, const Rect& rowArea) {
  Rebuild();
  if (restart_ == ScanRestart::kTop || rowPath.empty()) {
    Restart();
    return;
  }
  std::vector<int> path;
  if (!FindRow(top_, rowArea, path)) {
    Restart();
    return;
  }
  path.push_back(0);
  EnterLevel(std::move(path));
}

void Scanner::Show() {
  ScanHighlight now;
  if (on_ && stopped_) {
    now.kind = ScanHighlight::Kind::Stopped;
    for (std::size_t i = 0; i < top_.size(); ++i) {
      const Rect& a = top_[i].area;
      now.area = i == 0
                     ? a
                     : Rect{std::min(now.area.left, a.left), std::min(now.area.top, a.top),
                            std::max(now.area.right, a.right), std::max(now.area.bottom, a.bottom)};
    }
  } else if (const ScanNode* node = on_ ? Current() : nullptr) {
    now = {KindOf(node->kind), node->area, node->target};
  }
  if (now == highlight_) return;
  const ScanHighlight before = highlight_;
  highlight_ = now;
  if (listener_ != nullptr) listener_->HighlightChanged(before, now);
}

}  // namespace luma
