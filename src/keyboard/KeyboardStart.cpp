#include "keyboard/KeyboardStart.h"

#include "keyboard/KeyFonts.h"

namespace luma {
namespace {

void FitKeyFonts(const Keyboard& keyboard, Theme& theme, std::int32_t fontDpi) {
  const Size escape = keyboard.EscapeKeySize();
  const KeyFontSizes sizes = FitKeyFontSizes(escape.cx, escape.cy, fontDpi);
  theme.KeyFontLarge.Size = sizes.large;
  theme.KeyFontSmall.Size = sizes.small;
}

}  // namespace

void SetStartFonts(Theme& theme) {
  theme.KeyFontSmall = KeyFont{"Tahoma", 8, true};
  theme.KeyFontLarge = KeyFont{"Tahoma", 10, true};
}

std::unique_ptr<Keyboard> CreateKeyboard(const KeyboardDeps& deps, Theme& theme,
                                         Hkl foregroundLayout) {
  auto keyboard = std::make_unique<Keyboard>(deps, foregroundLayout);
  // Nothing is drawn until the keyboard is first shown: the scheme, layout
  // and sizes set before then would each draw a picture nobody sees.
  keyboard->Picture().SetPaintingEnabled(false);
  SetStartFonts(theme);
  keyboard->Captions().ChooseNamesLayout();
  return keyboard;
}

bool LoadBuiltInLayout(Keyboard& keyboard, Theme& theme, const std::string& name,
                       std::int32_t fontDpi) {
  const bool loaded = keyboard.LoadLayout(name);
  FitKeyFonts(keyboard, theme, fontDpi);
  keyboard.Picture().Redraw(false);
  return loaded;
}

void FitKeyboard(Keyboard& keyboard, Theme& theme, std::int32_t width, std::int32_t height,
                 std::int32_t fontDpi) {
  keyboard.ScaleToClient(width, height);
  FitKeyFonts(keyboard, theme, fontDpi);
}

void ShowKeyboard(Keyboard& keyboard, Theme& theme, std::int32_t width, std::int32_t height,
                  std::int32_t fontDpi) {
  keyboard.SetShown(true);
  // With painting still off, Redraw only marks the base image for rebuilding:
  // the first picture is drawn once, for the fitted keys.
  FitKeyboard(keyboard, theme, width, height, fontDpi);
  keyboard.Picture().Redraw(true);
  keyboard.Picture().SetPaintingEnabled(true);
}

std::unique_ptr<Keyboard> StartKeyboard(const KeyboardDeps& deps, Theme& theme,
                                        const KeyboardStart& start) {
  auto keyboard = CreateKeyboard(deps, theme, start.foregroundLayout);
  if (start.layoutText.empty()) {
    if (!LoadBuiltInLayout(*keyboard, theme, start.layoutName, start.fontDpi)) return nullptr;
  } else if (!keyboard->LoadLayoutText(start.layoutName, start.layoutText)) {
    return nullptr;
  }
  ShowKeyboard(*keyboard, theme, keyboard->Width(), keyboard->Height(), start.fontDpi);
  return keyboard;
}

}  // namespace luma
