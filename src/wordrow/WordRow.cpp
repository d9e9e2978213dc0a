#include "wordrow/WordRow.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "keyboard/KeyFace.h"
#include "placement/ClientRegions.h"
#include "theme/Dimming.h"

namespace luma {
namespace {

constexpr unsigned kTextFormat = kDtVCenter | kDtSingleLine | kDtNoPrefix;
// The corners of a cell, as a key's.
constexpr std::int32_t kCornerSize = 5;

bool IsEmpty(const Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

Rect Intersection(const Rect& a, const Rect& b) {
  const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
  return IsEmpty(r) ? Rect{} : r;
}

std::int32_t Saturated(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::int32_t RowHeightFor(std::int32_t clientHeight, std::int32_t keysDesignHeight) {
  if (clientHeight <= 0 || keysDesignHeight <= 0) return 0;
  return Saturated(MulDivRounded(clientHeight, kWordRowDesignHeight,
                                 std::int64_t{keysDesignHeight} + kWordRowDesignHeight));
}

std::int32_t ClientHeightWithRow(std::int32_t keysHeight, std::int32_t keysDesignHeight) {
  if (keysHeight <= 0) return 0;
  if (keysDesignHeight <= 0) return keysHeight;
  return Saturated(std::int64_t{keysHeight} +
                   MulDivRounded(keysHeight, kWordRowDesignHeight, keysDesignHeight));
}

WordRow::WordRow(const WordRowDeps& deps, std::function<void(int cell)> chosen)
    : deps_(deps), chosen_(std::move(chosen)), image_(deps.bitmaps.CreateBitmap()) {}

void WordRow::SetBounds(const Rect& bounds, std::int32_t fontDpi) {
  // The picture starts at the client's corner, where no row lies beyond.
  bounds_ = Intersection(bounds, {0, 0, std::numeric_limits<std::int32_t>::max(),
                                  std::numeric_limits<std::int32_t>::max()});
  fontDpi_ = fontDpi;
  image_->SetSize(bounds_.right, bounds_.bottom);
  Redraw();
}

void WordRow::SetShown(bool shown) {
  if (shown == shown_) return;
  shown_ = shown;
  // Whatever the pointer did over the row is over when it goes.
  hot_ = progressCell_ = -1;
  progress_ = 0;
  Redraw();
}

void WordRow::SetWords(const std::vector<std::u16string>& words) {
  std::array<std::u16string, kCells> cells;
  std::copy_n(words.begin(), std::min<std::size_t>(words.size(), kCells), cells.begin());
  if (cells == words_ && message_.empty()) return;
  words_ = std::move(cells);
  message_.clear();
  Redraw();
}

void WordRow::ShowMessage(const std::u16string& text) {
  const bool noWords =
      std::all_of(words_.begin(), words_.end(), [](const std::u16string& w) { return w.empty(); });
  if (text == message_ && noWords) return;
  message_ = text;
  words_ = {};
  Redraw();
}

const std::u16string& WordRow::Word(int cell) const {
  static const std::u16string none;
  return cell >= 0 && cell < kCells ? words_[static_cast<std::size_t>(cell)] : none;
}

void WordRow::Redraw() {
  if (!Visible()) return;
  DrawAll();
  Copy(bounds_);
}

Rect WordRow::Bounds() const { return Visible() ? bounds_ : Rect{}; }

int WordRow::ItemAt(Point p) const {
  if (!Visible() || !Contains(bounds_, p)) return -1;
  for (int cell = 0; cell < kCells; ++cell)
    if (Contains(CellRect(cell), p)) return HoldsWord(cell) ? cell : -1;
  return -1;
}

void WordRow::SetHot(int item) {
  if (item < 0 || item >= kCells) item = -1;
  if (item == hot_) return;
  RepaintCell(std::exchange(hot_, item));
  RepaintCell(item);
}

void WordRow::Choose(int item) {
  if (Visible() && HoldsWord(item) && chosen_) chosen_(item);
}

void WordRow::ShowProgress(int item, int permille) {
  if (item < 0 || item >= kCells) return;
  permille = std::clamp(permille, 0, 1000);
  // One hover runs at a time: its mark leaves the cell it was on.
  int cell = item;
  if (permille == 0) {
    if (item != progressCell_) return;
    cell = -1;
  }
  if (cell == progressCell_ && permille == progress_) return;
  const int old = std::exchange(progressCell_, cell);
  progress_ = permille;
  if (old != cell) RepaintCell(old);
  RepaintCell(cell);
}

void WordRow::RepaintCell(int cell) {
  // An empty cell looks the same hot or not, marked or not.
  if (!HoldsWord(cell) || !Visible()) return;
  DrawCell(cell);
  Copy(CellRect(cell));
}

Rect WordRow::ItemBounds(int item) const {
  return Visible() && HoldsWord(item) ? CellRect(item) : Rect{};
}

Rect WordRow::CellRect(int cell) const {
  // Each cell ends where the next begins, so that every pixel of the row
  // lies in exactly one; the extra pixels of an uneven width go to the left.
  const std::int64_t width = bounds_.Width();
  const auto edge = [&](int i) {
    return static_cast<std::int32_t>(bounds_.left + (width * i + kCells - 1) / kCells);
  };
  return {edge(cell), bounds_.top, edge(cell + 1), bounds_.bottom};
}

bool WordRow::HoldsWord(int cell) const {
  return cell >= 0 && cell < kCells && message_.empty() &&
         !words_[static_cast<std::size_t>(cell)].empty();
}

bool WordRow::Visible() const { return shown_ && !IsEmpty(bounds_); }

void WordRow::DrawAll() {
  DrawBackground(bounds_);
  if (!message_.empty()) {
    DrawMessage();
    return;
  }
  for (int cell = 0; cell < kCells; ++cell) DrawCell(cell);
}

void WordRow::DrawBackground(const Rect& area) {
  Bitmap& canvas = *image_;
  canvas.SetPen(deps_.theme.BackPenColor);
  canvas.SetBrush(deps_.theme.BackColor);
  canvas.FillRect(area);
}

void WordRow::DrawCell(int cell) {
  const Rect r = CellRect(cell);
  DrawBackground(r);
  if (!HoldsWord(cell)) return;
  const Theme& t = deps_.theme;
  const bool hot = cell == hot_;
  Color face = hot ? t.HotFace : t.RestFace;
  // Pure green at rest marks a key drawn as the background; so a cell.
  if (!hot && face == kBackgroundFace) face = t.BackColor;
  Bitmap& canvas = *image_;
  canvas.SetPen(hot ? t.HotBorder : t.RestBorder);
  canvas.SetBrush(face);
  canvas.RoundRect(r.left, r.top, r.right, r.bottom, kCornerSize, kCornerSize);

  // The label box of a key of this outline, and its text inside it.
  const Rect box{r.left, r.top, r.right - 2, r.bottom - 2};
  const Rect textRect{box.left + 2, box.top + 1, box.right, box.bottom};
  const std::u16string& word = words_[static_cast<std::size_t>(cell)];
  const unsigned format = FitText(word, textRect, WordFont(hot ? t.HotChar : t.RestChar));
  if (format != 0) {
    canvas.SetBrushClear(true);
    DrawKeyText(canvas, textRect, word, format, deps_.textBitmap);
    canvas.SetBrushClear(false);
  }

  if (cell != progressCell_ || progress_ <= 0) return;
  const LabelMarks marks = LabelMarksIn(box, progress_);
  if (!marks.fits) return;
  // The keys' mark, in the color their names have in that state.
  canvas.SetBrush(hot ? t.HotCaption : t.RestCaption);
  canvas.FillRect(marks.progressBar);
}

void WordRow::DrawMessage() {
  const Theme& t = deps_.theme;
  FontSpec font = WordFont(HalfwayColor(t.RestChar, t.BackColor, deps_.systemColors));
  font.italic = true;
  // It needs more room than a cell: it begins where the first word would and
  // may run on over the empty cells.
  const Rect first = CellRect(0);
  const Rect textRect{first.left + 4, first.top + 1, bounds_.right - 2, first.bottom - 2};
  if (FitText(message_, textRect, font) == 0) return;
  Bitmap& canvas = *image_;
  canvas.SetBrushClear(true);
  canvas.DrawText(message_, textRect, kTextFormat | kDtLeft);
  canvas.SetBrushClear(false);
}

unsigned WordRow::FitText(const std::u16string& text, const Rect& rect, FontSpec font) {
  // A size of nothing is not drawn at all (and never reaches the canvas).
  if (font.size <= 0 || IsEmpty(rect)) return 0;
  Bitmap& canvas = *image_;
  canvas.SetFont(font);
  const int smallest = std::max(1, font.size * 2 / 3);
  bool tooWide = canvas.TextExtent(text).cx > rect.Width();
  while (tooWide && font.size > smallest) {
    --font.size;
    canvas.SetFont(font);
    tooWide = canvas.TextExtent(text).cx > rect.Width();
  }
  return kTextFormat | (tooWide ? kDtLeft : kDtCenter);
}

FontSpec WordRow::WordFont(Color color) const {
  const KeyFont& keys = deps_.theme.KeyFontLarge;
  FontSpec font;
  font.name = keys.Name;
  // A third of the row's height in design pixels: the size of the keys'
  // characters in a row as tall as a key.
  font.size = UnscaleFromDpi(bounds_.Height(), fontDpi_) / 3;
  font.bold = keys.Bold;
  font.italic = keys.Italic;
  font.underline = keys.Underline;
  font.strikeOut = keys.StrikeOut;
  font.color = color;
  return font;
}

void WordRow::Copy(const Rect& area) {
  // Held to the screen as it is now: the window may have shrunk since.
  const Rect screen{0, 0, deps_.screen.Width(), deps_.screen.Height()};
  const Rect r = Intersection(Intersection(area, bounds_), screen);
  if (IsEmpty(r)) return;
  if (overlay_) overlay_->DrawOver(*image_, r);
  deps_.screen.CopyFrom(*image_, r);
}

}  // namespace luma
