// The program's own work per click and per hover move, over the built-in
// layout, with drawing and key injection reduced to no-ops: what is left is
// the hit test, the press state machine and the model's redraw decisions.
#include <benchmark/benchmark.h>

#include <memory>

#include "Fakes.h"
#include "input/PressLogic.h"
#include "keyboard/Keyboard.h"

namespace luma {
namespace {

class NullBitmap : public Bitmap {
 public:
  void SetPen(Color) override {}
  void SetBrush(Color c) override { brush_ = c; }
  Color BrushColor() const override { return brush_; }
  void SetBrushClear(bool clear) override { clear_ = clear; }
  bool BrushClear() const override { return clear_; }
  void SetFont(const FontSpec& f) override { font_ = f; }
  const FontSpec& Font() const override { return font_; }
  void FillRect(const Rect&) override {}
  void RoundRect(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                 std::int32_t) override {}
  void Polygon(const std::vector<Point>&) override {}
  Size TextExtent(std::u16string_view text) override {
    return {static_cast<std::int32_t>(text.size()) * font_.size * 6 / 8, font_.size + 3};
  }
  void DrawText(std::u16string_view, const Rect&, unsigned) override {}
  void DrawTransparent(const Bitmap&, std::int32_t, std::int32_t, Color) override {}
  void SetSize(std::int32_t w, std::int32_t h) override {
    width_ = w;
    height_ = h;
  }
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void Draw(const Bitmap&, std::int32_t, std::int32_t) override {}
  void DrawPart(const Bitmap&, const Rect&) override {}

 private:
  Color brush_ = 0;
  bool clear_ = false;
  FontSpec font_;
  std::int32_t width_ = 0, height_ = 0;
};

class NullBitmapFactory : public BitmapFactory {
 public:
  std::unique_ptr<Bitmap> CreateBitmap() override { return std::make_unique<NullBitmap>(); }
};

class NullScreen : public Screen {
 public:
  std::int32_t Width() const override { return 441; }
  std::int32_t Height() const override { return 181; }
  void CopyFrom(const Bitmap&, const Rect&) override {}
};

class CountingSender : public KeySender {
 public:
  std::uint64_t events = 0;
  std::uint16_t ScanCode(std::uint16_t vk) override { return vk; }
  void Send(const KeyEvent& e) override { events += e.vk != 0; }
  void GetKeyboardState(KeyStateArray& state) override { state = {}; }
};

class IdleTimer : public Timer {
 public:
  void Start(std::uint32_t) override { running_ = true; }
  void Stop() override { running_ = false; }
  bool Running() const override { return running_; }

 private:
  bool running_ = false;
};

class StillHost : public PressHost {
 public:
  Point CursorPos() override { return {}; }
  Point WindowPos() override { return {}; }
  void MoveWindowLeftTo(std::int32_t) override {}
  void MoveWindowTopTo(std::int32_t) override {}
  void UnfocusChildControls() override {}
};

struct Rig {
  NullBitmapFactory bitmaps;
  NullScreen screen;
  fakes::FakeKeyboardLayouts layouts;
  CountingSender sender;
  Theme theme;
  CaptionCache captions;
  IdleTimer timer;
  StillHost host;
  Keyboard keyboard{KeyboardDeps{bitmaps, screen, layouts, sender, theme, captions}, kUsEnglishHkl};
  PressLogic logic{keyboard, sender, timer, host};

  Rig() {
    keyboard.LoadLayout("Standard");
    keyboard.SetShown(true);
    keyboard.Picture().SetPaintingEnabled(true);
  }
};

// Press and release at one point, once per iteration.
void ClickLoop(benchmark::State& state, MouseButton button, std::int32_t x, std::int32_t y) {
  Rig rig;
  for (auto _ : state) {
    rig.logic.MouseDown(button, x, y);
    rig.logic.MouseUp();
  }
  benchmark::DoNotOptimize(rig.sender.events);
  state.SetItemsProcessed(state.iterations());
}

// The A key (code 65): an ordinary key, so only that key is repainted.
void BM_ClickOrdinaryKey(benchmark::State& state) { ClickLoop(state, MouseButton::Left, 75, 105); }
BENCHMARK(BM_ClickOrdinaryKey);

// Right click on the 1 key: left Shift goes down and up around it, and each
// Shift change redraws the whole keyboard for the captions.
void BM_RightClickAddsShift(benchmark::State& state) {
  ClickLoop(state, MouseButton::Right, 45, 45);
}
BENCHMARK(BM_RightClickAddsShift);

// A press on the empty corner: the full hit-test walk over 255 codes, no key.
void BM_PressBackground(benchmark::State& state) { ClickLoop(state, MouseButton::Right, 410, 165); }
BENCHMARK(BM_PressBackground);

// Hovering from one key to its neighbour and back: two keys repainted per move.
void BM_HoverBetweenKeys(benchmark::State& state) {
  Rig rig;
  bool left = false;
  for (auto _ : state) {
    left = !left;
    rig.logic.MouseMove(left ? 75 : 105, 105);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HoverBetweenKeys);

// Moving within the hovered key: nothing changes, nothing is drawn.
void BM_HoverWithinKey(benchmark::State& state) {
  Rig rig;
  bool left = false;
  for (auto _ : state) {
    left = !left;
    rig.logic.MouseMove(left ? 70 : 80, 105);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HoverWithinKey);

// One auto-repeat step of a held key.
void BM_RepeatTick(benchmark::State& state) {
  Rig rig;
  rig.logic.MouseDown(MouseButton::Left, 75, 105);
  for (auto _ : state) rig.logic.PressTimerTick();
  rig.logic.MouseUp();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RepeatTick);

}  // namespace
}  // namespace luma
