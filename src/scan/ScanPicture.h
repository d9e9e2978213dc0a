// The scan's highlight drawn over the keys and the row of words: a thick
// frame in a color that stands out from the scheme's faces with a thin line
// inside it in black or white, so that it shows on any face, hot, down or
// dimmed. A back step is the frame of what it leaves, dashed in the two
// colors; a stopped scan a thin frame around everything. A step repaints
// and copies only the old and the new frame.
#pragma once

#include <cstdint>

#include "keyboard/Keyboard.h"
#include "platform/Canvas.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "scan/Scanner.h"
#include "theme/Theme.h"
#include "wordrow/WordRow.h"

namespace luma {

// WCAG's contrast of two RGB colors, from 1 (alike) to 21 (black on white).
double ContrastRatio(Color a, Color b);

// The two colors of the highlight in these colors, system colors resolved.
struct HighlightColors {
  Color frame = 0;  // stands out from the faces and the background
  Color inner = 0;  // black or white, whichever stands out from the frame
  friend bool operator==(const HighlightColors&, const HighlightColors&) = default;
};
HighlightColors HighlightColorsFor(const SchemeColors& colors, SystemColors& sys);

class ScanPicture final : public ScanListener {
 public:
  // Draws over the keyboard's picture and, when given, the row's; both
  // outlive it. The colors follow the keys' theme at every paint.
  ScanPicture(Keyboard& keyboard, SystemColors& sys, WordRow* row = nullptr);
  ~ScanPicture() override;
  ScanPicture(const ScanPicture&) = delete;
  ScanPicture& operator=(const ScanPicture&) = delete;

  // Where the keys' picture lies in the client area, whose pixels the
  // highlight's areas are in.
  void SetKeyOrigin(Point origin) { keyOrigin_ = origin; }
  // The frame's width in pixels: a tenth of a key's height, at least 2.
  std::int32_t FrameWidth() const;

  void HighlightChanged(const ScanHighlight& before, const ScanHighlight& now) override;

 private:
  // One picture the highlight lies over, its top-left corner in the client.
  class Layer final : public PictureOverlay {
   public:
    Layer(const ScanPicture& owner, bool keys) : owner_(owner), keys_(keys) {}
    void DrawOver(Bitmap& image, const Rect& area) override;

   private:
    const ScanPicture& owner_;
    bool keys_;
  };

  Point KeysOrigin() const { return keyOrigin_; }
  // The bands a highlight paints, in client pixels.
  void Draw(Bitmap& image, Point origin, const Rect& clip) const;
  // The keys' picture under a highlight as it was before it.
  void RestoreKeys(const ScanHighlight& old);
  bool InRow(const Rect& area) const;
  // The pixels a highlight's frame runs around, in the client.
  Rect Box(const ScanHighlight& h) const;

  Keyboard& keyboard_;
  SystemColors& sys_;
  WordRow* row_;
  Layer keyLayer_{*this, true};
  Layer rowLayer_{*this, false};
  Point keyOrigin_;
  ScanHighlight highlight_;
};

}  // namespace luma
