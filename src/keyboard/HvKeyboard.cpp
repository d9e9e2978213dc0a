#include "keyboard/HvKeyboard.h"

#include <algorithm>

#include "lib/HvLib.h"
#include "theme/Theme.h"

namespace luma {

THvKeyboard::THvKeyboard(const KeyboardDeps& deps, Hkl foregroundHkl)
    : FDeps(deps),
      FPaintBox(&deps.screen),
      FBaseImage(deps.bitmaps.CreateBitmap()),
      FWorkImage(deps.bitmaps.CreateBitmap()) {
  // With no keys yet and not shown, this only selects or builds the
  // layout's caption table.
  FCurrentHKL = 0;
  SetHKL(foregroundHkl);
  FWidth = FPaintBox->Width();
  FHeight = FPaintBox->Height();
  Clear();
}

THvKeyboard::~THvKeyboard() {
  Clear();
  FBaseImage.reset();
}

void THvKeyboard::Clear() {
  FHotBtn = nullptr;
  for (int vk = 1; vk <= 255; ++vk) FBtns[static_cast<std::size_t>(vk)].reset();
  FLayoutName.clear();
  FLayoutComment.clear();
  FLayoutInfo.clear();
}

void THvKeyboard::CopyToScreen() {
  if (!FPaintingEnabled) return;
  FPaintBox->CopyFrom(*FWorkImage, Rect{0, 0, FPaintBox->Width(), FPaintBox->Height()});
}

void THvKeyboard::Redraw(bool rebuildBase) {
  if (rebuildBase) FBaseStale = true;
  if (!FPaintingEnabled) return;

  // A base image of another size than the model no longer matches the keys.
  if (FBaseImage->Width() != FWidth || FBaseImage->Height() != FHeight) FBaseStale = true;
  FBaseImage->SetSize(FWidth, FHeight);

  if (FBaseStale) {
    FBaseStale = false;
    FBaseImage->SetBrush(HvTheme.BackColor);
    FBaseImage->SetPen(HvTheme.BackPenColor);
    FBaseImage->FillRect(Rect{0, 0, FWidth, FHeight});
    for (int vk = 1; vk <= 255; ++vk) {
      THvBtn* key = FBtns[static_cast<std::size_t>(vk)].get();
      if (key == nullptr) continue;
      key->ChooseColors(*FBaseImage, false, false);
      key->Paint(*FBaseImage, true);
    }
  }

  FWorkImage->Draw(*FBaseImage, 0, 0);
  for (int vk = 1; vk <= 255; ++vk) {
    THvBtn* key = FBtns[static_cast<std::size_t>(vk)].get();
    if (key == nullptr) continue;
    // The working image now shows the rest look under every key.
    key->DrawnDown = false;
    key->DrawnHot = false;
    key->Refresh();
  }
  CopyToScreen();
}

void THvKeyboard::KeyDownChanged(THvBtn& key) {
  UpdateKeyState(key.Code, key.Down);
  // Shift, Caps Lock and the like change every caption; an ordinary key
  // repaints alone and the caller copies to the screen later.
  if (luma::IsStateKey(key.Code))
    Redraw(false);
  else
    key.Refresh();
}

void THvKeyboard::UpdateKeyState(int vk, bool down) {
  if (vk < 0 || vk > 255) return;
  auto& entry = FKeyState[static_cast<std::size_t>(vk)];
  if (vk == 20 || vk == 144 || vk == 145) {
    if (down) entry = entry == 1 ? 0 : 1;
    return;
  }
  entry = down ? 0x81 : 0;
  const auto combine = [this](std::size_t generic, std::size_t left, std::size_t right) {
    FKeyState[generic] = (FKeyState[left] != 0 || FKeyState[right] != 0) ? 0x81 : 0;
  };
  if (vk == 160 || vk == 161) combine(16, 160, 161);
  if (vk == 162 || vk == 163) combine(17, 162, 163);
  if (vk == 164 || vk == 165) combine(18, 164, 165);
}

void THvKeyboard::TrackPointer(std::int32_t x, std::int32_t y) {
  bool part = false;
  if (FHotBtn != nullptr && FHotBtn->HitTest(x, y, part)) return;
  ClearHot(false);
  for (int vk = 1; vk <= 255; ++vk) {
    THvBtn* key = FBtns[static_cast<std::size_t>(vk)].get();
    if (key == nullptr || !key->HitTest(x, y, part)) continue;
    FHotBtn = key;
    key->Extended = part;
    key->SetHot(true);
    break;
  }
  CopyToScreen();
}

void THvKeyboard::ClearHot(bool copyNow) {
  if (FHotBtn == nullptr) return;
  FHotBtn->SetHot(false);
  FHotBtn = nullptr;
  EndBusyCursor(FDeps.cursor, false);
  if (copyNow) CopyToScreen();
}

void THvKeyboard::ReleaseAll() {
  for (int vk = 1; vk <= 255; ++vk) {
    THvBtn* key = FBtns[static_cast<std::size_t>(vk)].get();
    if (key != nullptr) key->SetDown(false);
  }
  CopyToScreen();
}

void THvKeyboard::SetSize(std::int32_t height, std::int32_t width) {
  // A negative size means nothing to an image; it is held at 0.
  try {
    FHeight = std::max(height, 0);
    FWidth = std::max(width, 0);
    FWorkImage->SetSize(FWidth, FHeight);
  } catch (...) {
    // A size the image cannot take leaves the last good picture in place.
  }
}

void THvKeyboard::SetMarkerFaceLiteral(bool value) {
  FMarkerFaceLiteral = value;
  Redraw(true);
}

bool THvKeyboard::IsKeyDown(int vk) const {
  const THvBtn* key = Btn(vk);
  return key != nullptr && key->Down;
}

void THvKeyboard::SetShown(bool value) {
  if (value == FShown) return;
  FShown = value;
  if (!value) return;
  ReleaseAll();
  SyncKeyState(FDeps.sender, FKeyState);
  // Forgetting the hover key must also take its hot look, or it would stay
  // hot with nothing left to clear it; the redraw below repaints it.
  if (FHotBtn != nullptr) FHotBtn->Hot = false;
  FHotBtn = nullptr;
  Redraw(false);
}

void THvKeyboard::SetPaintingEnabled(bool value) {
  if (value == FPaintingEnabled) return;
  FPaintingEnabled = value;
  if (value) Redraw(false);
}

}  // namespace luma
