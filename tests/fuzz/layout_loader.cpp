// The layout description loader over any text of any size: a load that
// succeeds leaves every code 1..255 with a key; one that fails says so, and
// the model still draws, scales, hit-tests and takes the built-in layout.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Fakes.h"
#include "FuzzCheck.h"
#include "keyboard/Keyboard.h"
#include "theme/Theme.h"

namespace {

using luma::fuzz::Check;
using namespace luma::fakes;

// Measures text like the recording bitmap but keeps no calls: a model draws
// thousands of them per input.
class QuietBitmap : public RecordingBitmap {
 public:
  void FillRect(const luma::Rect&) override {}
  void RoundRect(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                 std::int32_t) override {}
  void Polygon(const std::vector<luma::Point>&) override {}
  void DrawText(std::u16string_view, const luma::Rect&, unsigned) override {}
  void DrawTransparent(const luma::Bitmap&, std::int32_t, std::int32_t, luma::Color) override {}
  void Draw(const luma::Bitmap&, std::int32_t, std::int32_t) override {}
};

class QuietBitmaps : public luma::BitmapFactory {
 public:
  std::unique_ptr<luma::Bitmap> CreateBitmap() override { return std::make_unique<QuietBitmap>(); }
};

class QuietScreen : public FakeScreen {
 public:
  void CopyFrom(const luma::Bitmap&, const luma::Rect&) override {}
};

struct Model {
  QuietBitmaps bitmaps;
  QuietScreen screen;
  FakeKeyboardLayouts layouts;
  FakeKeySender sender;
  luma::Theme theme;
  luma::CaptionCache captions;
  luma::Keyboard kb{{bitmaps, screen, layouts, sender, theme, captions}, luma::kUsEnglishHkl};
};

void CheckEveryCodeHasAKey(const luma::Keyboard& kb) {
  for (int vk = 1; vk <= 255; ++vk) {
    const luma::Key* key = kb.KeyFor(vk);
    Check(key != nullptr, "a loaded layout leaves a code without a key");
    Check(key->Code() == vk, "a key under another code");
    Check(key->Points().size() == key->PointCount(), "the point count wraps");
  }
}

// What the window does with any model, loaded or not.
void Use(luma::Keyboard& kb) {
  kb.ScaleToClient(790, 271);
  kb.Picture().Redraw(true);
  for (const auto& [x, y] : {std::pair{0, 0}, {395, 135}, {789, 270}}) kb.TrackPointer(x, y);
  kb.ClearHot(true);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Model h;
  if (h.kb.LoadLayoutText("Fuzz", luma::fuzz::AsText(data, size))) {
    CheckEveryCodeHasAKey(h.kb);
    Check(h.kb.Width() >= 0 && h.kb.Height() >= 0, "a negative design size");
    Use(h.kb);
    return 0;
  }
  Use(h.kb);
  Check(h.kb.LoadLayout("Standard"), "the built-in layout fails after a failed load");
  CheckEveryCodeHasAKey(h.kb);
  return 0;
}
