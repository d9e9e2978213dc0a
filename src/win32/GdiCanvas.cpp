#include "win32/GdiCanvas.h"

#include <algorithm>
#include <vector>

#include "win32/TextConversion.h"

namespace luma::win32 {

COLORREF ResolveColor(luma::Color color) {
  if (luma::IsSysColor(color)) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFF;
}

namespace {

// UTF-16 in both; Windows' wchar_t is 16 bits wide.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
std::wstring ToWide(std::u16string_view text) { return {text.begin(), text.end()}; }

const GdiBitmap* AsGdi(const luma::Bitmap& bitmap) {
  return dynamic_cast<const GdiBitmap*>(&bitmap);
}

bool SameFace(const luma::FontSpec& a, const luma::FontSpec& b) {
  return a.name == b.name && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.strikeOut == b.strikeOut;
}

}  // namespace

GdiBitmap::GdiBitmap() : dc_(CreateCompatibleDC(nullptr)) {
  // Pen and brush colors go through the DC's own pen and brush, so drawing
  // never creates or deletes a GDI object for them.
  SelectObject(dc_.Get(), GetStockObject(DC_PEN));
  SelectObject(dc_.Get(), GetStockObject(DC_BRUSH));
  initialBitmap_ = GetCurrentObject(dc_.Get(), OBJ_BITMAP);
}

GdiBitmap::~GdiBitmap() {
  // Objects must leave the DC before they are deleted.
  SelectObject(dc_.Get(), GetStockObject(SYSTEM_FONT));
  if (initialBitmap_) SelectObject(dc_.Get(), initialBitmap_);
}

void GdiBitmap::SetFont(const luma::FontSpec& font) {
  if (!SameFace(font, font_)) selectedFont_ = nullptr;
  font_ = font;
}

void GdiBitmap::SelectPen() {
  SelectObject(dc_.Get(), GetStockObject(DC_PEN));
  SetDCPenColor(dc_.Get(), ResolveColor(pen_));
}

void GdiBitmap::SelectBrush() {
  if (brushClear_) {
    SelectObject(dc_.Get(), GetStockObject(NULL_BRUSH));
  } else {
    SelectObject(dc_.Get(), GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc_.Get(), ResolveColor(brush_));
  }
}

void GdiBitmap::SelectFont() {
  if (!selectedFont_) {
    const auto made = std::find_if(fonts_.begin(), fonts_.end(),
                                   [this](const MadeFont& f) { return SameFace(f.face, font_); });
    if (made != fonts_.end()) {
      selectedFont_ = made->font.Get();
    } else {
      // A full cache starts over; the fonts leave the DC before they are deleted.
      if (fonts_.size() >= kMadeFonts) {
        SelectObject(dc_.Get(), GetStockObject(SYSTEM_FONT));
        fonts_.clear();
      }
      LOGFONTW lf{};
      lf.lfHeight = -MulDiv(font_.size, GetDeviceCaps(dc_.Get(), LOGPIXELSY), 72);
      lf.lfWeight = font_.bold ? FW_BOLD : FW_NORMAL;
      lf.lfItalic = font_.italic ? TRUE : FALSE;
      lf.lfUnderline = font_.underline ? TRUE : FALSE;
      lf.lfStrikeOut = font_.strikeOut ? TRUE : FALSE;
      lf.lfCharSet = DEFAULT_CHARSET;
      lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
      lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
      lf.lfQuality = DEFAULT_QUALITY;
      lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
      const std::wstring face = Widen(font_.name);
      const std::size_t n = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
      std::copy_n(face.begin(), n, lf.lfFaceName);
      GdiObject<HFONT> font(CreateFontIndirectW(&lf));
      selectedFont_ = font.Get();
      if (font) fonts_.push_back({font_, std::move(font)});
    }
  }
  SelectObject(dc_.Get(),
               selectedFont_ ? static_cast<HGDIOBJ>(selectedFont_) : GetStockObject(SYSTEM_FONT));
}

void GdiBitmap::FillRect(const luma::Rect& rect) {
  if (brushClear_) return;  // a clear brush paints nothing
  SelectBrush();
  const RECT r{rect.left, rect.top, rect.right, rect.bottom};
  ::FillRect(dc_.Get(), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiBitmap::RoundRect(std::int32_t left, std::int32_t top, std::int32_t right,
                          std::int32_t bottom, std::int32_t ellipseWidth,
                          std::int32_t ellipseHeight) {
  SelectPen();
  SelectBrush();
  ::RoundRect(dc_.Get(), left, top, right, bottom, ellipseWidth, ellipseHeight);
}

void GdiBitmap::Polygon(const std::vector<luma::Point>& points) {
  if (points.empty()) return;
  std::vector<POINT> gdiPoints;
  gdiPoints.reserve(points.size());
  for (const luma::Point& p : points) gdiPoints.push_back({p.x, p.y});
  SelectPen();
  SelectBrush();
  ::Polygon(dc_.Get(), gdiPoints.data(), static_cast<int>(gdiPoints.size()));
}

luma::Size GdiBitmap::TextExtent(std::u16string_view text) {
  SelectFont();
  const std::wstring wide = ToWide(text);
  SIZE size{};
  if (!GetTextExtentPoint32W(dc_.Get(), wide.c_str(), static_cast<int>(wide.size()), &size))
    return {};
  return {size.cx, size.cy};
}

void GdiBitmap::DrawText(std::u16string_view text, const luma::Rect& rect, unsigned format) {
  SelectFont();
  SetBkMode(dc_.Get(), TRANSPARENT);
  SetTextColor(dc_.Get(), ResolveColor(font_.color));
  std::wstring wide = ToWide(text);
  RECT r{rect.left, rect.top, rect.right, rect.bottom};
  const int length = static_cast<int>(wide.size());
  // Wine draws small bold sizes wider than it measures them (and than
  // DrawTextExW places them by), so a label that fits by measure spilled
  // over its key. A single line is placed here and each glyph set at its
  // measured advance: what fits by measure fits on screen.
  constexpr unsigned kSingleLine = DT_SINGLELINE | DT_NOPREFIX;
  std::vector<int> ends(wide.size());
  SIZE size{};
  if ((format & kSingleLine) != kSingleLine || length == 0 ||
      !GetTextExtentExPointW(dc_.Get(), wide.c_str(), length, 0, nullptr, ends.data(), &size)) {
    DrawTextExW(dc_.Get(), wide.data(), length, &r, format, nullptr);
    return;
  }
  std::vector<INT> advances(wide.size());
  for (std::size_t i = 0; i < wide.size(); ++i) advances[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
  int x = r.left, y = r.top;
  if (format & DT_CENTER)
    x = r.left + (r.right - r.left - size.cx) / 2;
  else if (format & DT_RIGHT)
    x = r.right - size.cx;
  if (format & DT_VCENTER)
    y = r.top + (r.bottom - r.top - size.cy) / 2;
  else if (format & DT_BOTTOM)
    y = r.bottom - size.cy;
  const UINT clip = (format & DT_NOCLIP) ? 0 : ETO_CLIPPED;
  ExtTextOutW(dc_.Get(), x, y, clip, &r, wide.c_str(), static_cast<UINT>(length), advances.data());
}

void GdiBitmap::DrawTransparent(const luma::Bitmap& source, std::int32_t x, std::int32_t y,
                                luma::Color transparentColor) {
  const GdiBitmap* gdi = AsGdi(source);
  if (!gdi || gdi->width_ <= 0 || gdi->height_ <= 0) return;
  // gdi32's own entry: msimg32's TransparentBlt only forwards to it, and
  // loading msimg32 would cost every start.
  GdiTransparentBlt(dc_.Get(), x, y, gdi->width_, gdi->height_, gdi->Dc(), 0, 0, gdi->width_,
                    gdi->height_, ResolveColor(transparentColor));
}

void GdiBitmap::SetSize(std::int32_t width, std::int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;

  GdiObject<HBITMAP> dib;
  void* bits = nullptr;
  if (width > 0 && height > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first in memory
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dib.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) bits = nullptr;
  }

  // Keep what overlaps, as a resized picture would.
  if (dib && dib_) {
    MemoryDc scratch(CreateCompatibleDC(dc_.Get()));
    SelectionGuard select(scratch.Get(), dib.Get());
    BitBlt(scratch.Get(), 0, 0, std::min(width, width_), std::min(height, height_), dc_.Get(), 0, 0,
           SRCCOPY);
  }

  SelectObject(dc_.Get(), dib ? static_cast<HGDIOBJ>(dib.Get()) : initialBitmap_);
  dib_ = std::move(dib);
  bits_ = static_cast<std::uint32_t*>(bits);
  width_ = dib_ ? width : 0;
  height_ = dib_ ? height : 0;
}

void GdiBitmap::Draw(const luma::Bitmap& source, std::int32_t x, std::int32_t y) {
  const GdiBitmap* gdi = AsGdi(source);
  if (!gdi || gdi->width_ <= 0 || gdi->height_ <= 0) return;
  BitBlt(dc_.Get(), x, y, gdi->width_, gdi->height_, gdi->Dc(), 0, 0, SRCCOPY);
}

void GdiBitmap::DrawPart(const luma::Bitmap& source, const luma::Rect& area) {
  const GdiBitmap* gdi = AsGdi(source);
  if (!gdi || area.right <= area.left || area.bottom <= area.top) return;
  BitBlt(dc_.Get(), area.left, area.top, area.Width(), area.Height(), gdi->Dc(), area.left,
         area.top, SRCCOPY);
}

std::uint32_t* GdiBitmap::Pixels() {
  // GDI may still hold drawing calls back: they reach the pixels first.
  if (bits_) GdiFlush();
  return bits_;
}

luma::Color GdiBitmap::PixelAt(int x, int y) const {
  if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return CLR_INVALID;
  GdiFlush();
  const std::uint32_t pixel = bits_[static_cast<std::size_t>(y) * width_ + x];  // 0x00RRGGBB
  return luma::Rgb((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

bool GdiBitmap::SaveBmp(const std::wstring& path) const {
  if (!bits_) return false;
  GdiFlush();
  // 24 bpp bottom-up: the form every viewer reads without guessing at alpha.
  const std::size_t rowBytes = (static_cast<std::size_t>(width_) * 3 + 3) & ~std::size_t{3};
  const std::size_t imageBytes = rowBytes * height_;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + imageBytes);
  info.biSize = sizeof(info);
  info.biWidth = width_;
  info.biHeight = height_;
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(imageBytes);

  std::vector<std::uint8_t> data;
  data.reserve(file.bfSize);
  auto append = [&data](const void* p, std::size_t n) {
    const auto* bytes = static_cast<const std::uint8_t*>(p);
    data.insert(data.end(), bytes, bytes + n);
  };
  append(&file, sizeof(file));
  append(&info, sizeof(info));
  for (std::int32_t y = height_ - 1; y >= 0; --y) {
    const std::uint32_t* row = bits_ + static_cast<std::size_t>(y) * width_;
    const std::size_t start = data.size();
    for (std::int32_t x = 0; x < width_; ++x) {
      data.push_back(static_cast<std::uint8_t>(row[x]));        // blue
      data.push_back(static_cast<std::uint8_t>(row[x] >> 8));   // green
      data.push_back(static_cast<std::uint8_t>(row[x] >> 16));  // red
    }
    data.resize(start + rowBytes, 0);
  }

  File out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return false;
  DWORD written = 0;
  return WriteFile(out.Get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
         written == data.size();
}

std::unique_ptr<luma::Bitmap> GdiBitmapFactory::CreateBitmap() {
  return std::make_unique<GdiBitmap>();
}

std::int32_t WindowScreen::Width() const {
  RECT r{};
  GetClientRect(window_, &r);
  return std::max<std::int32_t>(r.right - r.left - origin_.x, 0);
}

std::int32_t WindowScreen::Height() const {
  RECT r{};
  GetClientRect(window_, &r);
  return std::max<std::int32_t>(r.bottom - r.top - origin_.y, 0);
}

void WindowScreen::CopyFrom(const luma::Bitmap& source, const luma::Rect& rect) {
  const GdiBitmap* gdi = AsGdi(source);
  if (!gdi || rect.Width() <= 0 || rect.Height() <= 0) return;
  // Straight through the window's DC rather than an invalidation and a
  // WM_PAINT: a pressed or hovered key shows at once, not when the message
  // queue next gets round to painting.
  WindowDc dc(window_);
  if (!dc) return;
  BitBlt(dc.Get(), rect.left + origin_.x, rect.top + origin_.y, rect.Width(), rect.Height(),
         gdi->Dc(), rect.left, rect.top, SRCCOPY);
}

void PaintBitmap(HDC target, const luma::Bitmap& source, const RECT& area, luma::Point origin) {
  const GdiBitmap* gdi = AsGdi(source);
  if (!gdi || !target) return;
  RECT copy{};
  const RECT whole{origin.x, origin.y, origin.x + gdi->Width(), origin.y + gdi->Height()};
  if (!IntersectRect(&copy, &area, &whole)) return;
  BitBlt(target, copy.left, copy.top, copy.right - copy.left, copy.bottom - copy.top, gdi->Dc(),
         copy.left - origin.x, copy.top - origin.y, SRCCOPY);
}

}  // namespace luma::win32
