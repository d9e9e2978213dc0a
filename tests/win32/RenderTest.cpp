// The whole keyboard drawn by the real model through GDI into memory, in each
// color scheme, and read back pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "EmulatedSuites.h"
#include "GdiHarness.h"
#include "keyboard/Keyboard.h"
#include "scan/ScanModel.h"
#include "scan/ScanPicture.h"
#include "theme/Dimming.h"
#include "theme/Theme.h"
#include "win32/GdiCanvas.h"
#include "win32/Win32System.h"

namespace luma::win32 {
namespace {

// A Unix path from the environment names the same place through Wine's Z: drive.
std::wstring ArtefactDir() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableW(L"LUMA_ARTEFACT_DIR", buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  std::wstring dir(buffer);
  if (dir.front() == L'/') dir = L"Z:" + dir;
  for (wchar_t& c : dir)
    if (c == L'/') c = L'\\';
  if (dir.back() != L'\\') dir += L'\\';
  return dir;
}

Color Resolved(Color c) { return ResolveColor(c); }

struct SchemeCase {
  int number;
  Color restBorder;  // as the scheme table gives it (may name a system color)
  Color restFace;    // 0xFFFFFFFF: the theme group color
};
constexpr Color kThemeGroup = 0xFFFFFFFF;

class RenderTest : public ::testing::TestWithParam<SchemeCase> {
 protected:
  void SetUp() override {
    SetUpTheme(parts_.theme, GetParam().number, parts_.themeColors, parts_.colors);
    keyboard_ =
        StartKeyboard(parts_.Deps(), parts_.theme, KeyboardStart(FromHkl(GetKeyboardLayout(0))));
    ASSERT_NE(keyboard_, nullptr);
    ASSERT_EQ(keyboard_->Width(), 441);
    ASSERT_EQ(keyboard_->Height(), 181);
    ApplyColorScheme(GetParam().number, parts_.theme, parts_.themeColors, parts_.colors);
    keyboard_->Picture().Redraw(true);
  }
  void TearDown() override { keyboard_.reset(); }

  Color At(int x, int y) const { return parts_.screen.image.PixelAt(x, y); }

  // Pixels of one color strictly inside a key, away from its outline.
  int CountInside(int vk, Color color) const {
    const Key* key = keyboard_->KeyFor(vk);
    const Rect box = FirstPartBounds(*key);
    int n = 0;
    for (int y = box.top + 3; y < box.bottom - 2; ++y)
      for (int x = box.left + 3; x < box.right - 2; ++x) n += At(x, y) == color;
    return n;
  }

  GdiKeyboardParts parts_;
  std::unique_ptr<Keyboard> keyboard_;
};
LUMA_EMULATED_SUITE(RenderTest);

TEST_P(RenderTest, RestLookHoverAndDownReachTheScreen) {
  const SchemeCase& c = GetParam();
  const Color face = c.restFace == kThemeGroup ? parts_.themeColors.ThemeGroupColor : c.restFace;

  // Escape and F1 share the column x = 30; the border runs along it.
  EXPECT_EQ(At(30, 15), Resolved(c.restBorder));
  EXPECT_EQ(At(0, 15), Resolved(c.restBorder));
  EXPECT_EQ(At(2, 27), Resolved(face));  // inside Escape, below its caption
  EXPECT_GT(CountInside(27, Resolved(parts_.theme.RestCaption)), 0) << "no \"Esc\" caption";
  EXPECT_GT(CountInside('A', Resolved(parts_.theme.RestChar)), 0) << "no character label";

  // Hover over F1 repaints its outline in the hot look; Escape stays at rest.
  keyboard_->TrackPointer(45, 15);
  EXPECT_EQ(At(45, 0), Resolved(parts_.theme.HotBorder));
  EXPECT_EQ(At(32, 27), Resolved(parts_.theme.HotFace));
  EXPECT_EQ(At(2, 27), Resolved(face));

  // A key that is down shows the down face; the model copies it on request.
  keyboard_->ClearHot(true);
  keyboard_->KeyFor(113)->SetDown(true);
  keyboard_->Picture().CopyToScreen();
  EXPECT_EQ(At(62, 27), Resolved(parts_.theme.DownFace));
  EXPECT_EQ(At(75, 0), Resolved(parts_.theme.DownBorder));
  EXPECT_EQ(At(32, 27), Resolved(face));

  const std::wstring dir = ArtefactDir();
  if (!dir.empty()) {
    const std::wstring path = dir + L"scheme-" + std::to_wstring(c.number) + L".bmp";
    EXPECT_TRUE(parts_.screen.image.SaveBmp(path));
  }
}

// The scan's frame around A at the design size and half as large again,
// plain and dimmed: its color runs along A's edges with the line inside it
// within; then A's row tinted, which goes with the step away. Each picture
// of the row is kept.
TEST_P(RenderTest, ScanHighlightRunsAlongTheKeysEdges) {
  const int scheme = GetParam().number;
  for (const int halves : {2, 3}) {
    const std::int32_t width = 441 * halves / 2, height = 181 * halves / 2;
    parts_.screen.image.SetSize(width, height);
    keyboard_->ScaleToClient(width, height);
    for (const bool dimmed : {false, true}) {
      ApplyColorScheme(scheme, parts_.theme, parts_.themeColors, parts_.colors);
      if (dimmed)
        static_cast<SchemeColors&>(parts_.theme) = DimmedColors(parts_.theme, parts_.colors);
      keyboard_->Picture().Redraw(true);
      ScanPicture picture(*keyboard_, parts_.colors);
      const Rect a = FirstPartBounds(*keyboard_->KeyFor('A'));
      const ScanHighlight onA{ScanHighlight::Kind::Item, a, {}};
      picture.HighlightChanged({}, onA);

      const std::string what = std::to_string(width) + (dimmed ? " dimmed" : "");
      const HighlightColors colors = HighlightColorsFor(parts_.theme, parts_.colors);
      const int midX = (a.left + a.right) / 2, midY = (a.top + a.bottom) / 2;
      EXPECT_EQ(At(a.left, midY), colors.frame) << what;
      EXPECT_EQ(At(a.right, midY), colors.frame) << what;
      EXPECT_EQ(At(midX, a.top), colors.frame) << what;
      EXPECT_EQ(At(midX, a.bottom), colors.frame) << what;
      EXPECT_EQ(At(a.left + picture.FrameWidth(), midY), colors.inner) << what;

      // A's row: every pixel inside its frame, the caption's too, tinted.
      const Color middle = At(midX, midY);
      Rect rowOfA = a;
      for (const ScanNode& row : BuildScanNodes({*keyboard_, {}, {}}))
        for (const ScanNode& item : row.children)
          if (item.target == Target::Key('A')) rowOfA = row.area;
      const ScanHighlight onRow{ScanHighlight::Kind::Row, rowOfA, {}};
      picture.HighlightChanged(onA, onRow);
      EXPECT_EQ(At(midX, midY), Tinted(middle, colors.frame)) << what;
      const std::wstring dir = ArtefactDir();
      if (!dir.empty()) {
        const std::wstring path = dir + L"scan-scheme-" + std::to_wstring(scheme) + L"-" +
                                  std::to_wstring(width) + (dimmed ? L"-dimmed" : L"") + L".bmp";
        EXPECT_TRUE(parts_.screen.image.SaveBmp(path));
      }

      picture.HighlightChanged(onRow, {});
      EXPECT_EQ(At(midX, midY), middle) << what;
      EXPECT_EQ(At(a.left, midY), Resolved(parts_.theme.RestBorder)) << what;
    }
  }
}

// Rest border and rest face of each scheme, from the scheme table.
INSTANTIATE_TEST_SUITE_P(
    Schemes, RenderTest,
    ::testing::Values(SchemeCase{1, Rgb(0x7A, 0xA0, 0xDA), kThemeGroup},
                      SchemeCase{2, SysColor(kColorWindowText), SysColor(kColorBtnFace)},
                      SchemeCase{3, Rgb(0, 0, 0), Rgb(0xFF, 0xFF, 0xFF)},
                      SchemeCase{4, Rgb(0xFF, 0xFF, 0xFF), Rgb(0x20, 0x20, 0x20)},
                      SchemeCase{5, Rgb(0x72, 0x78, 0x80), Rgb(0xE9, 0xEC, 0xEF)},
                      SchemeCase{6, Rgb(0xA3, 0xB0, 0xB5), Rgb(0xDB, 0xE2, 0xE4)},
                      SchemeCase{7, Rgb(0xB7, 0xB7, 0xB8), Rgb(0xFE, 0xFE, 0xFE)}),
    [](const auto& param) { return "Scheme" + std::to_string(param.param.number); });

}  // namespace
}  // namespace luma::win32
