// Key events as they go out: one record per call, scan codes, and the
// modifiers the system holds cleared before the keyboard starts.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Fakes.h"
#include "keys/KeyInput.h"

namespace luma {
namespace {

// One event per call, with the flags asked for and the program's mark. The
// scan code is the system's mapping (A, also where a layout moves it; Delete
// up, right and left Alt down, right Shift up, the pad's Enter and the main
// one); where it gives none, the key's own PC code (the pad, the navigation
// keys and others), none for a key no PC keyboard has.
TEST(SendKeyInput, OneEventPerCallWithTheFlagsAndTheScanCode) {
  const struct {
    std::uint16_t vk;
    int up, extended;      // asked for, and so sent
    std::uint16_t mapped;  // what the sender's mapping gives; 0: none
    std::uint16_t scan;
  } rows[] = {{65, 0, 0, 0x1E, 0x1E},  {65, 0, 0, 0x10, 0x10},  {46, 1, 1, 0x53, 0x53},
              {165, 0, 1, 0x38, 0x38}, {164, 0, 0, 0x38, 0x38}, {161, 1, 1, 0x36, 0x36},
              {13, 0, 1, 0x1C, 0x1C},  {13, 1, 0, 0x1C, 0x1C},  {96, 0, 0, 0, 0x52},
              {97, 0, 0, 0, 0x4F},     {98, 0, 0, 0, 0x50},     {99, 0, 0, 0, 0x51},
              {100, 0, 0, 0, 0x4B},    {101, 0, 0, 0, 0x4C},    {102, 0, 0, 0, 0x4D},
              {103, 0, 0, 0, 0x47},    {104, 0, 0, 0, 0x48},    {105, 0, 0, 0, 0x49},
              {110, 0, 0, 0, 0x53},    {106, 0, 0, 0, 0x37},    {107, 0, 0, 0, 0x4E},
              {109, 0, 0, 0, 0x4A},    {111, 0, 0, 0, 0x35},    {45, 0, 0, 0, 0x52},
              {35, 0, 0, 0, 0x4F},     {40, 0, 0, 0, 0x50},     {37, 0, 0, 0, 0x4B},
              {12, 0, 0, 0, 0x4C},     {46, 0, 0, 0, 0x53},     {36, 0, 0, 0, 0x47},
              {33, 0, 0, 0, 0x49},     {144, 0, 0, 0, 0x45},    {13, 0, 0, 0, 0x1C},
              {90, 0, 0, 0, 0x2C},     {48, 0, 0, 0, 0x0B},     {57, 0, 0, 0, 0x0A},
              {123, 0, 0, 0, 0x58},    {226, 0, 0, 0, 0x56},    {165, 0, 0, 0, 0x38},
              {250, 0, 0, 0, 0},       {0, 0, 0, 0, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.vk);
    fakes::FakeKeySender sender;
    sender.scanCodes.clear();
    if (r.mapped != 0) sender.scanCodes[r.vk] = r.mapped;
    SendKeyInput(sender, r.vk, r.up != 0, r.extended != 0);
    const std::uint32_t flags =
        (r.up ? kKeyEventKeyUp : 0u) | (r.extended ? kKeyEventExtendedKey : 0u);
    EXPECT_EQ(sender.sent, (std::vector<KeyEvent>{{r.vk, r.scan, flags, 0, kOwnKeyEventMark}}));
  }
}

// Each UTF-16 unit down and up as a character, never as a key of the layout:
// vk 0, the unit as the scan code, the surrogates of one character in order.
TEST(SendText, EachUnitGoesDownAndUpAsACharacter) {
  const struct {
    std::u16string text;
    std::vector<std::uint16_t> units;
  } rows[] = {
      {u"", {}},
      {u"a", {0x61}},
      {u"\u00e9\u20ac", {0xE9, 0x20AC}},  // é, €: no dead key, no AltGr
      {u"\U0001F600", {0xD83D, 0xDE00}},  // 😀: high surrogate first
      {u"x\U0001D11Ey", {0x78, 0xD834, 0xDD1E, 0x79}},
  };
  for (const auto& r : rows) {
    fakes::FakeKeySender sender;
    sender.scanCodes[0] = 0x99;  // a mapping of vk 0 must not reach the events
    SendText(sender, r.text);
    std::vector<KeyEvent> expected;
    for (const std::uint16_t unit : r.units) {
      expected.push_back({0, unit, kKeyEventUnicode, 0, kOwnKeyEventMark});
      expected.push_back({0, unit, kKeyEventUnicode | kKeyEventKeyUp, 0, kOwnKeyEventMark});
    }
    EXPECT_EQ(sender.sent, expected) << r.units.size() << " units";
  }
}

// Backspace as any other key: its scan code, the PC one where none is mapped.
TEST(SendBackspaces, CountTimesDownAndUp) {
  for (const auto& [count, mapped, presses] :
       {std::tuple{0, true, 0}, {-2, true, 0}, {3, true, 3}, {2, false, 2}}) {
    fakes::FakeKeySender sender;
    if (mapped) sender.scanCodes[8] = 0x66;
    SendBackspaces(sender, count);
    const std::uint16_t scan = mapped ? 0x66 : 0x0E;
    std::vector<KeyEvent> expected;
    for (int i = 0; i < presses; ++i) {
      expected.push_back({8, scan, 0, 0, kOwnKeyEventMark});
      expected.push_back({8, scan, kKeyEventKeyUp, 0, kOwnKeyEventMark});
    }
    EXPECT_EQ(sender.sent, expected) << count;
  }
}

TEST(SyncKeyState, ClearsModifiersReleasesHeldOnesKeepsLocks) {
  fakes::FakeKeySender sender;
  KeyStateArray& sys = sender.systemState;
  sys[1] = 0x80;  // left mouse button
  sys[16] = 0x80;
  sys[17] = 0x80;
  sys[160] = 0x01;  // toggled only: cleared, not released
  sys[161] = 0x81;  // right Shift held
  sys[162] = 0x80;  // left Ctrl held
  sys[92] = 0x80;   // right Win held
  sys[20] = 0x01;   // Caps Lock on
  sys[144] = 0x81;  // Num Lock held and on: not a modifier, kept
  sys[65] = 0x80;

  KeyStateArray state{};
  SyncKeyState(sender, state);

  const std::vector<KeyEvent> expected = {
      {161, 0x36, kKeyEventKeyUp | kKeyEventExtendedKey, 0, kOwnKeyEventMark},
      {162, 0x1D, kKeyEventKeyUp, 0, kOwnKeyEventMark},
      {92, 0x5C, kKeyEventKeyUp | kKeyEventExtendedKey, 0, kOwnKeyEventMark},
  };
  EXPECT_EQ(sender.sent, expected);
  for (int vk : {1, 2, 4, 5, 6, 16, 17, 18, 91, 92, 160, 161, 162, 163, 164, 165})
    EXPECT_EQ(state[static_cast<std::size_t>(vk)], 0) << vk;
  EXPECT_EQ(state[20], 0x01);
  EXPECT_EQ(state[144], 0x81);
  EXPECT_EQ(state[65], 0x80);
}

TEST(SyncKeyState, ReleaseIfDownIgnoresCodesOutsideTheArray) {
  fakes::FakeKeySender sender;
  KeyStateArray state{};
  ReleaseIfDown(sender, 300, state);
  ReleaseIfDown(sender, -1, state);
  EXPECT_TRUE(sender.sent.empty());
}

}  // namespace
}  // namespace luma
