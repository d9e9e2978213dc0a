// The row of words above the keys: five cells side by side, the most likely
// word on the left. It draws itself in the keys' colors into a picture of its
// own, copies to the screen only what changed, and is clicked like the keys.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "input/Target.h"
#include "placement/Dpi.h"
#include "platform/Canvas.h"
#include "platform/System.h"
#include "platform/Types.h"
#include "theme/Theme.h"

namespace luma {

// The row's height at the keys' design size: a key row of the built-in
// layouts, whose Escape key is as tall.
inline constexpr std::int32_t kWordRowDesignHeight = 30;

// The row's height in a client area clientHeight tall whose keys are
// keysDesignHeight tall at their design size: a key row's share, so that the
// keys below keep the proportions of their design while the row grows with
// the window, and with the DPI, which sizes the window. 0 without room.
std::int32_t RowHeightFor(std::int32_t clientHeight, std::int32_t keysDesignHeight);
// The client height that leaves keysHeight pixels to the keys below the row:
// what the window grows to when the row comes, so that the keys keep their
// size. RowHeightFor of it gives the row back exactly.
std::int32_t ClientHeightWithRow(std::int32_t keysHeight, std::int32_t keysDesignHeight);

// What the row draws with; all of it owned by the program and outliving it.
struct WordRowDeps {
  BitmapFactory& bitmaps;
  Screen& screen;
  // Read at every paint: a new scheme, or the keys dimmed, shows at Redraw.
  const Theme& theme;
  SystemColors& systemColors;
  Bitmap* textBitmap = nullptr;  // text on background faces (kBackgroundFace); none: drawn directly
};

class WordRow final : public ItemArea {
 public:
  static constexpr int kCells = 5;

  // chosen: told the cell whose word was chosen (Word(cell) gives it).
  WordRow(const WordRowDeps& deps, std::function<void(int cell)> chosen);
  // The input keeps a pointer to it.
  WordRow(const WordRow&) = delete;
  WordRow& operator=(const WordRow&) = delete;

  // Where the row lies in the client area, and the DPI its font is drawn at.
  // The picture spans the client from its top-left corner to the row's
  // bottom-right, so that a rect of it is the same rect of the screen.
  void SetBounds(const Rect& bounds, std::int32_t fontDpi = kDesignDpi);
  // Hidden, the row draws, copies and holds nothing; shown again, it is drawn
  // and copied whole.
  void SetShown(bool shown);
  bool Shown() const { return shown_; }

  // The first kCells words, the most likely first; an empty word leaves its
  // cell empty. Takes the place of a message. Copies the row, and only when
  // something changed.
  void SetWords(const std::vector<std::u16string>& words);
  // A muted line in the first cell's place instead of the words, such as why
  // there are none; every cell is empty meanwhile. An empty text clears it.
  void ShowMessage(const std::u16string& text);
  const std::u16string& Word(int cell) const;
  const std::u16string& Message() const { return message_; }

  // Draws the whole row again in the theme's colors as they are now, and
  // copies it.
  void Redraw();
  // Drawn over the row before each copy; none by default.
  void SetOverlay(PictureOverlay* overlay) { overlay_ = overlay; }
  // The picture the row draws into, for a window that paints itself again.
  const Bitmap& Image() const { return *image_; }

  // ItemArea: only a cell holding a word is an item; the rest of the row is
  // background, which moves the window like the keys' background.
  Rect Bounds() const override;
  int ItemAt(Point p) const override;
  void SetHot(int item) override;
  void Choose(int item) override;
  void ShowProgress(int item, int permille) override;
  int ItemCount() const override { return kCells; }
  // A cell's place while it holds a word.
  Rect ItemBounds(int item) const override;

 private:
  Rect CellRect(int cell) const;
  bool HoldsWord(int cell) const;
  bool Visible() const;
  void DrawAll();
  void DrawBackground(const Rect& area);
  void DrawCell(int cell);
  // Draws the cell again and copies it, when it shows a word.
  void RepaintCell(int cell);
  void DrawMessage();
  // Sets the font for text in rect and says how to lay it out: smaller, down
  // to two thirds, while it is too wide, then left-aligned so that its
  // beginning stays in sight.
  unsigned FitText(const std::u16string& text, const Rect& rect, FontSpec font);
  FontSpec WordFont(Color color) const;
  void Copy(const Rect& area);

  WordRowDeps deps_;
  std::function<void(int cell)> chosen_;
  std::unique_ptr<Bitmap> image_;
  Rect bounds_;
  std::int32_t fontDpi_ = kDesignDpi;
  bool shown_ = true;
  std::array<std::u16string, kCells> words_;
  std::u16string message_;
  int hot_ = -1;
  int progressCell_ = -1;
  int progress_ = 0;  // per mille
  PictureOverlay* overlay_ = nullptr;
};

}  // namespace luma
