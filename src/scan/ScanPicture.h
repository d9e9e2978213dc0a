// The scan's highlight drawn over the keys and the row of words: a thick
// frame in a color that stands out from the scheme's faces with a thin line
// inside it in black or white, so that it shows on any face, hot, down or
// dimmed; inside a group's or a row's frame its keys tinted with the frame's
// color. A back step is the frame of what it leaves, dashed in the two
// colors; a stopped scan a thin frame around everything. A step repaints
// and copies only the old and the new highlight.
#pragma once

#include <cstdint>
#include <vector>

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

// A color a third of the way to the tint: captions keep most of their
// contrast with the face. Works alike on 0x00RRGGBB pixels.
Color Tinted(Color color, Color tint);

// A tint over one area of a picture that remembers what lay under each
// pixel, so that it goes again exactly without painting anything anew.
class TintedPixels {
 public:
  // Tints the pixels of area within clip, both in image pixels, that do not
  // show it yet: those painted since are tinted afresh.
  void Apply(Bitmap& image, const Rect& area, const Rect& clip, Color tint);
  // The pixels that still show the tint get back what lay under them; those
  // painted since stay as painted. Returns the area, for the copy.
  Rect Remove(Bitmap& image);

 private:
  Rect area_;
  Color tint_ = 0;  // in the pixels' form
  std::vector<std::uint32_t> under_;
};

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
    TintedPixels& Tint() { return tint_; }

   private:
    const ScanPicture& owner_;
    bool keys_;
    TintedPixels tint_;
  };

  Point KeysOrigin() const { return keyOrigin_; }
  // The bands a highlight paints, in client pixels.
  void Draw(Bitmap& image, Point origin, const Rect& clip) const;
  // The keys' picture under a highlight as it was before it.
  void RestoreKeys(const ScanHighlight& old);
  bool InRow(const Rect& area) const;
  // The pixels a highlight's frame runs around, in the client.
  Rect Box(const ScanHighlight& h) const;
  // Inside the frame of a group or a row, in the client; empty for others.
  Rect TintArea() const;

  Keyboard& keyboard_;
  SystemColors& sys_;
  WordRow* row_;
  Layer keyLayer_{*this, true};
  Layer rowLayer_{*this, false};
  Point keyOrigin_;
  ScanHighlight highlight_;
};

}  // namespace luma
