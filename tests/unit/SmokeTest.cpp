#include <gtest/gtest.h>
#include "Fakes.h"
#include "keyboard/HvKeyboard.h"
TEST(Smoke, KeyboardConstructs) {
  luma::fakes::RecordingBitmapFactory bitmaps;
  luma::fakes::FakeScreen screen;
  luma::fakes::FakeKeyboardLayouts layouts;
  luma::fakes::FakeKeySender sender;
  luma::fakes::FakeCursor cursor;
  luma::THvKeyboard kb({bitmaps, screen, layouts, sender, cursor}, 0x04090409);
  EXPECT_EQ(kb.Btn(0), nullptr);
}
