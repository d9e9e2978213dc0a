// Fakes of the platform interfaces. They record what they are asked to do,
// in order, so that a test reads as a timeline.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "input/PressLogic.h"
#include "platform/Canvas.h"
#include "platform/System.h"

namespace luma::fakes {

// One drawing call as the canvas received it, with the pen, brush and font
// current at that moment.
struct DrawCall {
  enum Kind { kFillRect, kRoundRect, kPolygon, kText, kTransparent, kBlit } kind;
  Rect rect{};  // FillRect, RoundRect (left..bottom), Text, Blit target
  std::int32_t ellipseW = 0, ellipseH = 0;
  std::vector<Point> points;  // Polygon
  std::u16string text;        // Text
  unsigned format = 0;        // Text
  Color pen = 0, brush = 0;
  bool brushClear = false;
  FontSpec font;
};

class RecordingBitmap : public Bitmap {
 public:
  std::vector<DrawCall> calls;
  Color pen = 0, brush = 0xFFFFFF;
  bool brushClear = false;
  FontSpec font;
  std::int32_t width = 0, height = 0;
  // Text extent: this many pixels per character at size 8, scaled by size;
  // height is the font size in points plus 3.
  int charWidthAt8 = 6;

  void SetPen(Color c) override { pen = c; }
  void SetBrush(Color c) override { brush = c; }
  Color BrushColor() const override { return brush; }
  void SetBrushClear(bool clear) override { brushClear = clear; }
  bool BrushClear() const override { return brushClear; }
  void SetFont(const FontSpec& f) override { font = f; }
  const FontSpec& Font() const override { return font; }
  void FillRect(const Rect& r) override {
    Record(DrawCall::kFillRect).rect = r;
    if (!pixels.empty())
      ForEachPixel(r, [&](std::int32_t x, std::int32_t y) {
        pixels[Index(x, y)] = Rgb(BlueOf(brush), GreenOf(brush), RedOf(brush));
      });
  }
  void RoundRect(std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b, std::int32_t ew,
                 std::int32_t eh) override {
    auto& c = Record(DrawCall::kRoundRect);
    c.rect = {l, t, r, b};
    c.ellipseW = ew;
    c.ellipseH = eh;
  }
  void Polygon(const std::vector<Point>& pts) override { Record(DrawCall::kPolygon).points = pts; }
  Size TextExtent(std::u16string_view text) override {
    const int size = std::max(font.size, 1);
    return {static_cast<std::int32_t>(text.size()) * charWidthAt8 * size / 8, size + 3};
  }
  void DrawText(std::u16string_view text, const Rect& r, unsigned format) override {
    auto& c = Record(DrawCall::kText);
    c.text = std::u16string(text);
    c.rect = r;
    c.format = format;
  }
  void DrawTransparent(const Bitmap&, std::int32_t x, std::int32_t y, Color) override {
    Record(DrawCall::kTransparent).rect = {x, y, x, y};
  }
  void SetSize(std::int32_t w, std::int32_t h) override {
    width = w;
    height = h;
    if (keepPixels) pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
  }
  std::int32_t Width() const override { return width; }
  std::int32_t Height() const override { return height; }
  void Draw(const Bitmap& source, std::int32_t x, std::int32_t y) override {
    Record(DrawCall::kBlit).rect = {x, y, x + source.Width(), y + source.Height()};
    const auto* from = dynamic_cast<const RecordingBitmap*>(&source);
    if (pixels.empty() || from == nullptr || from->pixels.empty()) return;
    ForEachPixel(calls.back().rect, [&](std::int32_t px, std::int32_t py) {
      pixels[Index(px, py)] = from->PixelAt(px - x, py - y);
    });
  }
  void DrawPart(const Bitmap& source, const Rect& area) override {
    Record(DrawCall::kBlit).rect = area;
    const auto* from = dynamic_cast<const RecordingBitmap*>(&source);
    if (pixels.empty() || from == nullptr || from->pixels.size() != pixels.size()) return;
    ForEachPixel(area, [&](std::int32_t x, std::int32_t y) {
      pixels[Index(x, y)] = from->pixels[Index(x, y)];
    });
  }
  std::uint32_t* Pixels() override { return pixels.empty() ? nullptr : pixels.data(); }
  // Fills and copies reach pixels only when asked for: 0x00RRGGBB, as in a DIB.
  bool keepPixels = false;
  std::vector<std::uint32_t> pixels;
  std::uint32_t PixelAt(std::int32_t x, std::int32_t y) const { return pixels.at(Index(x, y)); }

  std::size_t Count(DrawCall::Kind kind) const {
    return static_cast<std::size_t>(std::count_if(
        calls.begin(), calls.end(), [&](const DrawCall& c) { return c.kind == kind; }));
  }
  std::vector<DrawCall> Of(DrawCall::Kind kind) const {
    std::vector<DrawCall> out;
    for (const auto& c : calls)
      if (c.kind == kind) out.push_back(c);
    return out;
  }

 private:
  std::size_t Index(std::int32_t x, std::int32_t y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
  }
  template <class F>
  void ForEachPixel(const Rect& r, F f) {
    for (std::int32_t y = std::max(r.top, 0); y < std::min(r.bottom, height); ++y)
      for (std::int32_t x = std::max(r.left, 0); x < std::min(r.right, width); ++x) f(x, y);
  }
  DrawCall& Record(DrawCall::Kind kind) {
    calls.push_back(DrawCall{kind, {}, 0, 0, {}, {}, 0, pen, brush, brushClear, font});
    return calls.back();
  }
};

// Keeps every bitmap it creates reachable for inspection (created order).
class RecordingBitmapFactory : public BitmapFactory {
 public:
  std::vector<RecordingBitmap*> created;
  std::unique_ptr<Bitmap> CreateBitmap() override {
    auto b = std::make_unique<RecordingBitmap>();
    created.push_back(b.get());
    return b;
  }
};

class FakeScreen : public Screen {
 public:
  std::int32_t width = 441, height = 181;
  std::vector<Rect> copies;
  std::int32_t Width() const override { return width; }
  std::int32_t Height() const override { return height; }
  void CopyFrom(const Bitmap&, const Rect& r) override { copies.push_back(r); }
};

class FakeKeySender : public KeySender {
 public:
  std::vector<KeyEvent> sent;
  KeyStateArray systemState{};  // what GetKeyboardState reports
  std::map<std::uint16_t, std::uint16_t> scanCodes{{65, 0x1E},  {46, 0x53},  {13, 0x1C},
                                                   {160, 0x2A}, {161, 0x36}, {162, 0x1D},
                                                   {164, 0x38}, {165, 0x38}, {49, 0x02}};
  std::uint16_t ScanCode(std::uint16_t vk) override {
    auto it = scanCodes.find(vk);
    return it == scanCodes.end() ? 0 : it->second;
  }
  // A lock key's down flips its toggle, as the system does.
  void Send(const KeyEvent& e) override {
    sent.push_back(e);
    if ((e.vk == 20 || e.vk == 144 || e.vk == 145) && (e.flags & kKeyEventKeyUp) == 0)
      systemState[e.vk] ^= 1;
  }
  void GetKeyboardState(KeyStateArray& state) override { state = systemState; }
};

// A keyboard layout: per vk a scan code, and per (vk, shift, altgr, ctrl, caps)
// what ToUnicodeEx reports. Dead keys report -1 once, then the accent twice.
class FakeKeyboardLayouts : public KeyboardLayouts {
 public:
  struct Layout {
    std::map<unsigned, unsigned> vkToScan;  // map type 0
    std::map<unsigned, unsigned> scanToVk;  // map type 3 (US positions)
    // key: vk; value: function of the state array giving (result, text)
    std::map<unsigned, std::function<std::pair<int, std::u16string>(const KeyStateArray&)>> chars;
    std::map<unsigned, char16_t> deadKeys;  // vk -> accent
    // A pending accent followed by a character -> the one character they make.
    std::map<std::u16string, char16_t> composed;
  };
  std::map<Hkl, Layout> layouts;
  std::vector<Hkl> installed;
  std::vector<std::string> calls;  // "Load 04090409", "Unload ...", "List"
  int toUnicodeCalls = 0;
  // Every (layout, key state) translated: the modifier combinations asked for.
  std::set<std::pair<Hkl, KeyStateArray>> combinations;
  char16_t pendingDead = 0;

  std::vector<Hkl> List(int maxCount) override {
    calls.push_back("List");
    std::vector<Hkl> out = installed;
    if (static_cast<int>(out.size()) > maxCount) out.resize(static_cast<std::size_t>(maxCount));
    return out;
  }
  Hkl Load(const std::string& id) override {
    calls.push_back("Load " + id);
    const Hkl h = std::stoul(id, nullptr, 16);
    return layouts.count(h) ? h : (installed.empty() ? 0 : installed.front());
  }
  void Unload(Hkl hkl) override { calls.push_back("Unload " + std::to_string(hkl)); }
  unsigned MapVirtualKeyEx(unsigned code, unsigned mapType, Hkl hkl) override {
    auto it = layouts.find(hkl);
    if (it == layouts.end()) return 0;
    const auto& m = mapType == 0 ? it->second.vkToScan : it->second.scanToVk;
    auto f = m.find(code);
    return f == m.end() ? 0 : f->second;
  }
  int ToUnicodeEx(unsigned vk, unsigned, const KeyStateArray& state, char16_t* buffer,
                  int bufferSize, unsigned, Hkl hkl) override {
    ++toUnicodeCalls;
    combinations.insert({hkl, state});
    auto it = layouts.find(hkl);
    if (it == layouts.end()) return 0;
    auto dead = it->second.deadKeys.find(vk);
    if (dead != it->second.deadKeys.end()) {
      if (pendingDead == 0) {
        pendingDead = dead->second;
        return -1;
      }
      const char16_t first = pendingDead;
      pendingDead = 0;
      if (bufferSize >= 2) {
        buffer[0] = first;
        buffer[1] = dead->second;
      }
      return 2;
    }
    auto c = it->second.chars.find(vk);
    if (c == it->second.chars.end()) return 0;
    auto [result, text] = c->second(state);
    std::u16string out = text;
    if (pendingDead && result == 1) {
      out = std::u16string(1, pendingDead) + text;
      auto made = it->second.composed.find(out);
      if (made != it->second.composed.end())
        out = std::u16string(1, made->second);
      else
        result = 2;
    }
    pendingDead = 0;
    for (int i = 0; i < bufferSize && i < static_cast<int>(out.size()); ++i) buffer[i] = out[i];
    return result;
  }
  // Upper case of ASCII and Latin-1 letters, and whatever upperCase adds.
  std::map<char16_t, char16_t> upperCase;
  int upperCaseCalls = 0;
  std::u16string UpperCase(std::u16string text) override {
    ++upperCaseCalls;
    for (char16_t& c : text) {
      if (auto it = upperCase.find(c); it != upperCase.end())
        c = it->second;
      else if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        c = static_cast<char16_t>(c - 0x20);
    }
    return text;
  }
};

class FakeForegroundLayout : public ForegroundLayout {
 public:
  Hkl hkl = kUsEnglishHkl;
  int reads = 0;
  Hkl Read() override {
    ++reads;
    return hkl;
  }
};

// A window timer driven by the test: Advance moves the clock and fires due ticks.
class FakeTimer : public Timer {
 public:
  std::uint32_t now = 0;
  std::uint32_t interval = 0;
  std::uint32_t due = 0;
  bool running = false;
  std::function<void()> onTick;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> starts;  // (time, interval)

  void Start(std::uint32_t ms) override {
    interval = ms;
    due = now + ms;
    running = true;
    starts.emplace_back(now, ms);
  }
  void Stop() override { running = false; }
  bool Running() const override { return running; }
  // Moves time forward to now + ms, firing each tick that falls due.
  void Advance(std::uint32_t ms) {
    const std::uint32_t end = now + ms;
    while (running && due <= end) {
      now = due;
      due = now + interval;  // a window timer keeps firing at its interval
      if (onTick) onTick();
    }
    now = end;
  }
};

// Stamps every event with the clock of the timer the test drives.
class TimedKeySender : public FakeKeySender {
 public:
  explicit TimedKeySender(const FakeTimer& clock) : clock_(clock) {}
  std::vector<std::uint32_t> at;  // the clock at each event sent
  void Send(const KeyEvent& e) override {
    FakeKeySender::Send(e);
    at.push_back(clock_.now);
  }

 private:
  const FakeTimer& clock_;
};

// The window as the press logic sees it: a cursor the test places and a
// window position that follows the move rules.
class FakePressHost : public PressHost {
 public:
  Point cursor{};
  Point window{100, 500};
  // The window's move rules; by default every move is taken as asked.
  std::function<Point(Point)> moveRule = [](Point p) { return p; };
  int unfocusChildCalls = 0;
  int cursorReads = 0;

  Point CursorPos() override {
    ++cursorReads;
    return cursor;
  }
  Point WindowPos() override { return window; }
  void MoveWindowLeftTo(std::int32_t x) override { window = moveRule({x, window.y}); }
  void MoveWindowTopTo(std::int32_t y) override { window = moveRule({window.x, y}); }
  void UnfocusChildControls() override { ++unfocusChildCalls; }
};

class FakeSystemColors : public SystemColors {
 public:
  std::map<unsigned, Color> colors{{kColorBtnFace, Rgb(0xD4, 0xD0, 0xC8)},
                                   {kColorHighlight, Rgb(0x0A, 0x24, 0x6A)},
                                   {kColorWindow, Rgb(0xFF, 0xFF, 0xFF)},
                                   {kColorWindowText, Rgb(0, 0, 0)},
                                   {kColorBtnShadow, Rgb(0x80, 0x80, 0x80)}};
  Color GetSysColor(unsigned index) override {
    auto it = colors.find(index);
    return it == colors.end() ? 0 : it->second;
  }
  Color NearestColor(Color c) override { return c; }
};

}  // namespace luma::fakes
