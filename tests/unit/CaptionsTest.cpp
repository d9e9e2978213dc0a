#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "Fakes.h"
#include "KeyboardHarness.h"
#include "keyboard/Captions.h"
#include "keyboard/KeyNames.h"
#include "keyboard/Keyboard.h"
#include "keys/KeyKinds.h"
#include "keys/VirtualKeys.h"

namespace luma {
namespace {

constexpr Hkl kGerman = 0x04070407;
constexpr Hkl kFrench = 0x040C040C;
constexpr Hkl kUs = kUsEnglishHkl;

using Layout = fakes::FakeKeyboardLayouts::Layout;

bool On(const KeyStateArray& s, int vk) { return s[static_cast<std::size_t>(vk)] != 0; }

// A letter: Shift and Caps Lock each flip the case, Ctrl alone gives the
// control character, AltGr (left Ctrl with right Alt) its third level, right
// Alt alone nothing.
void AddLetter(Layout& layout, unsigned vk, unsigned scan, char16_t lower, char16_t upper,
               char16_t altGr = 0) {
  layout.vkToScan[vk] = scan;
  layout.chars[vk] = [=](const KeyStateArray& s) -> std::pair<int, std::u16string> {
    const bool ctrl = On(s, 17) && On(s, 162) && !On(s, 163);
    const bool alt = On(s, 18) && On(s, 165) && !On(s, 164);
    if (ctrl && alt) return altGr ? std::pair{1, std::u16string(1, altGr)} : std::pair{0, u""};
    if (alt) return {0, u""};
    if (ctrl) return {1, std::u16string(1, static_cast<char16_t>(vk - 64))};
    const bool shifted = (On(s, 16) && On(s, 160)) != On(s, 20);
    return {1, std::u16string(1, shifted ? upper : lower)};
  };
}

// A key whose shifted level produces nothing.
void AddShiftless(Layout& layout, unsigned vk, unsigned scan, char16_t base) {
  layout.vkToScan[vk] = scan;
  layout.chars[vk] = [=](const KeyStateArray& s) -> std::pair<int, std::u16string> {
    if (On(s, 16) || On(s, 17) || On(s, 18)) return {0, u""};
    return {1, std::u16string(1, base)};
  };
}

Layout UsLayout() {
  Layout us;
  AddLetter(us, 65, 0x1E, u'a', u'A');
  AddLetter(us, 81, 0x10, u'q', u'Q');
  AddLetter(us, 89, 0x15, u'y', u'Y');
  AddLetter(us, 90, 0x2C, u'z', u'Z');
  AddShiftless(us, 49, 0x02, u'1');
  us.vkToScan[13] = 0x1C;
  us.vkToScan[186] = 0x27;
  for (const auto& [vk, scan] : us.vkToScan) us.scanToVk[scan] = vk;
  return us;
}

// Y and Z swapped, AltGr+Q is '@', the key right of L types ü, and the key
// left of 1 is a dead circumflex.
Layout GermanLayout() {
  Layout de;
  AddLetter(de, 65, 0x1E, u'a', u'A');
  AddLetter(de, 81, 0x10, u'q', u'Q', u'@');
  AddLetter(de, 89, 0x2C, u'y', u'Y');
  AddLetter(de, 90, 0x15, u'z', u'Z');
  AddLetter(de, 186, 0x27, u'\u00FC', u'\u00DC');
  AddShiftless(de, 49, 0x02, u'1');
  de.vkToScan[220] = 0x29;
  de.deadKeys[220] = u'^';
  return de;
}

Layout FrenchLayout() {
  Layout fr;
  AddLetter(fr, 81, 0x1E, u'q', u'Q');  // Q where US has A
  AddLetter(fr, 65, 0x10, u'a', u'A');
  return fr;
}

// German with a second dead key next to the first, whose accent composes
// with the key after it, and accents that compose.
constexpr Hkl kAccents = 0x22222222;
Layout AccentsLayout() {
  Layout accents = GermanLayout();
  accents.vkToScan[219] = 0x0D;
  accents.deadKeys[219] = u'`';
  AddLetter(accents, 222, 0x28, u'a', u'A', u'\u00E6');
  accents.composed = {{u"^1", u'\u00B9'}, {u"^a", u'\u00E2'}, {u"`a", u'\u00E0'}};
  return accents;
}

// The reference a caption table must agree with: one translation, and an
// entry as two translations in a row give it, the second clearing the dead
// key the first left pending; a space for nothing.
std::u16string KeyCharText(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl) {
  return TranslateKey(layouts, vk, state, hkl).text;
}
char16_t KeyChar(KeyboardLayouts& layouts, int vk, const KeyStateArray& state, Hkl hkl) {
  TranslateKey(layouts, vk, state, hkl);
  const std::u16string text = TranslateKey(layouts, vk, state, hkl).text;
  return text.empty() ? u' ' : text.front();
}

// The key state a table translates combination i in: Shift, right Alt, left
// Ctrl and Caps Lock, from bit 3 down to bit 0.
KeyStateArray CombinationState(int i) {
  KeyStateArray state{};
  const auto flag = [](int on) -> std::uint8_t { return on ? 0x81 : 0; };
  state[kVkShift] = state[kVkLeftShift] = flag(i & 8);
  state[kVkAlt] = state[kVkRightAlt] = flag(i & 4);
  state[kVkCtrl] = state[kVkLeftCtrl] = flag(i & 2);
  state[kVkCapsLock] = flag(i & 1);
  return state;
}

// Combination i as modifiers, in the same bit order.
Modifiers Combination(int i) {
  return {
      .shift = (i & 8) != 0, .alt = (i & 4) != 0, .ctrl = (i & 2) != 0, .capsLock = (i & 1) != 0};
}

constexpr Modifiers kAltGr{.alt = true, .ctrl = true};

// The layout's table with every combination read.
const CaptionTable& TableFor(CaptionCache& cache, KeyboardLayouts& layouts, Hkl hkl) {
  CaptionTable& table = cache.Find(hkl);
  for (int i = 0; i < 16; ++i) table.At(layouts, kVkSpace, Combination(i));
  return table;
}

class CaptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    layouts.layouts[kUs] = UsLayout();
    layouts.layouts[kGerman] = GermanLayout();
    layouts.layouts[kFrench] = FrenchLayout();
    layouts.layouts[kAccents] = AccentsLayout();
    layouts.installed = {kGerman, kUs};
  }

  // A keyboard over the fakes with an outlined key for each of codes, side
  // by side from the left; the layout is loaded in the foreground layout.
  std::unique_ptr<Keyboard> MakeKeyboard(Hkl foreground, std::initializer_list<int> codes) {
    auto kb = std::make_unique<Keyboard>(parts.Deps(), foreground);
    std::string text;
    std::int32_t x = 0;
    for (int code : codes) {
      text += test::KeyLine(code, x, 0, x + 30, 30) + "\r\n";
      x += 30;
    }
    EXPECT_TRUE(kb->LoadLayoutText("t", text));
    return kb;
  }

  test::KeyboardParts parts;
  fakes::FakeKeyboardLayouts& layouts = parts.layouts;
  fakes::FakeScreen& screen = parts.screen;
  CaptionCache& captions = parts.captions;
};

TEST_F(CaptionsTest, KeyCharTextKeepsOnlyPrintableResults) {
  struct Row {
    int result;
    std::u16string text;
    std::u16string expected;
  } rows[] = {
      {1, u"x", u"x"},   {0, u"", u""},    {1, u"\x01", u""},  // control character
      {1, u" ", u""},    {2, u"`e", u"e"}, {2, u"e\x01", u"e"},
      {-1, u"^", u""},  // a dead key, still pending
      {256, u"ab", u""},
  };
  Layout odd;
  for (const auto& row : rows) {
    odd.chars[65] = [&](const KeyStateArray&) { return std::pair{row.result, row.text}; };
    layouts.layouts[0x11111111] = odd;
    EXPECT_EQ(KeyCharText(layouts, 65, KeyStateArray{}, 0x11111111), row.expected)
        << "result " << row.result;
  }
}

TEST_F(CaptionsTest, KeyCharOfADeadKeyIsItsAccentAndLeavesNothingPending) {
  const KeyStateArray none{};
  EXPECT_EQ(KeyChar(layouts, 220, none, kGerman), u'^');
  EXPECT_EQ(layouts.pendingDead, 0);
  // The next key stroke is not combined with an accent.
  EXPECT_EQ(KeyChar(layouts, 65, none, kGerman), u'a');
  // Nothing at all reads as a space.
  EXPECT_EQ(KeyChar(layouts, 200, none, kGerman), u' ');
}

TEST_F(CaptionsTest, ATableReadsTheSameWhateverDeadKeyWasPendingAndLeavesNoneBehind) {
  // A dead key that composes with the first key translated, and a second
  // dead key, next to the first, whose accent composes with the key after it.
  // Key 48, before them all, types nothing and leaves a pending accent as it is.
  CaptionCache clean;
  const CaptionTable& expected = TableFor(clean, layouts, kAccents);
  EXPECT_EQ(expected.Chars[49][0][0][0][0], u'1');
  EXPECT_EQ(expected.Chars[219][0][0][0][0], u'`');
  EXPECT_EQ(expected.Chars[220][0][0][0][0], u'^');
  EXPECT_EQ(expected.Chars[222][0][0][0][0], u'a');
  EXPECT_EQ(expected.Chars[222][1][0][0][0], u'A');
  EXPECT_EQ(layouts.pendingDead, 0);

  for (char16_t before : {u'^', u'`'}) {
    layouts.pendingDead = before;  // left by a key stroke made before the table is read
    CaptionCache cache;
    const CaptionTable& t = TableFor(cache, layouts, kAccents);
    const int accent = before;
    EXPECT_EQ(layouts.pendingDead, 0) << accent;
    for (int vk = 1; vk <= 255; ++vk)
      for (int i = 0; i < 16; ++i)
        ASSERT_EQ(t.Chars[vk][i >> 3][(i >> 2) & 1][(i >> 1) & 1][i & 1],
                  expected.Chars[vk][i >> 3][(i >> 2) & 1][(i >> 1) & 1][i & 1])
            << "accent " << accent << " vk " << vk << " combination " << i;
  }
}

// Every entry of every combination, read lazily in an order of its own,
// equals the reference translation of that key alone, over layouts with dead
// keys next to each other and accents that compose.
TEST_F(CaptionsTest, EveryEntryEqualsTheReferenceTranslation) {
  for (Hkl hkl : {kUs, kGerman, kFrench, kAccents}) {
    CaptionCache cache;
    CaptionTable& table = cache.Find(hkl);
    // Combinations in a scrambled order, keys from the top down.
    for (int n = 0; n < 16; ++n) {
      const int i = (n * 7 + 3) % 16;
      for (int vk = 255; vk >= 1; --vk) {
        const char16_t entry = table.At(layouts, vk, Combination(i));
        if (!IsCharKey(vk)) {
          ASSERT_EQ(entry, 0) << hkl << " vk " << vk;
          continue;
        }
        const char16_t left = layouts.pendingDead;
        layouts.pendingDead = 0;
        const char16_t reference = KeyChar(layouts, vk, CombinationState(i), hkl);
        layouts.pendingDead = left;
        ASSERT_EQ(entry, reference) << hkl << " vk " << vk << " combination " << i;
      }
    }
    EXPECT_EQ(layouts.pendingDead, 0) << hkl;
  }
}

TEST_F(CaptionsTest, TableHoldsEveryModifierCombination) {
  const CaptionTable& t = TableFor(captions, layouts, kGerman);
  EXPECT_EQ(t.hkl, kGerman);
  struct Row {
    int vk, shift, alt, ctrl, caps;
    char16_t expected;
  } rows[] = {
      {65, 0, 0, 0, 0, u'a'},  {65, 1, 0, 0, 0, u'A'},
      {65, 0, 0, 0, 1, u'A'},  {65, 1, 0, 0, 1, u'a'},
      {65, 0, 0, 1, 0, u' '},                           // Ctrl+A: a control character
      {65, 0, 1, 0, 0, u' '},  {81, 0, 1, 1, 0, u'@'},  // AltGr = left Ctrl + right Alt
      {81, 1, 1, 1, 1, u'@'},  {186, 1, 0, 0, 0, u'\u00DC'},
      {220, 0, 0, 0, 0, u'^'},  // dead key: its accent
      {13, 0, 0, 0, 0, 0},      // not a character key: left empty
      {49, 1, 0, 0, 0, u' '},
  };
  for (const auto& r : rows)
    EXPECT_EQ(t.Chars[r.vk][r.shift][r.alt][r.ctrl][r.caps], r.expected)
        << r.vk << " s" << r.shift << " a" << r.alt << " c" << r.ctrl << " l" << r.caps;
  EXPECT_EQ(layouts.pendingDead, 0);
}

TEST_F(CaptionsTest, EachLayoutIsTranslatedOnce) {
  const CaptionTable* de = &TableFor(captions, layouts, kGerman);
  const int perTable = layouts.toUnicodeCalls;
  EXPECT_EQ(layouts.combinations.size(), 16u);
  // Each of the 75 character keys once per combination, some twice to clear
  // a dead key that may be pending.
  EXPECT_GE(perTable, 16 * 75);
  EXPECT_LT(perTable, 16 * 75 * 2);
  const CaptionTable* us = &TableFor(captions, layouts, kUs);
  EXPECT_NE(us, de);
  const int bothTables = layouts.toUnicodeCalls;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(&TableFor(captions, layouts, kGerman), de);
    EXPECT_EQ(&TableFor(captions, layouts, kUs), us);
  }
  EXPECT_EQ(captions.Size(), 2u);
  EXPECT_EQ(layouts.combinations.size(), 32u);
  EXPECT_EQ(layouts.toUnicodeCalls, bothTables);
}

TEST_F(CaptionsTest, CaptionForFollowsTheModelsKeyState) {
  struct Row {
    std::initializer_list<int> down;  // keys set down; Caps Lock toggles on
    int vk;
    char16_t expected;
  } rows[] = {
      {{}, 65, u'a'},         {{160}, 65, u'A'}, {{20}, 65, u'A'},
      {{160, 20}, 65, u'a'},  {{162}, 65, u'a'},  // Ctrl+A types a control character
      {{162, 165}, 81, u'@'},                     // AltGr
      {{165}, 81, u'q'},                          // right Alt alone types nothing
      {{160}, 49, u'1'},                          // nothing shifted: the base character
      {{}, 220, u'^'},
  };
  for (const auto& r : rows) {
    auto kb = MakeKeyboard(kGerman, {20, 160, 162, 165});
    ASSERT_EQ(kb->Captions().CurrentLayout(), kGerman);
    for (int vk : r.down) kb->KeyFor(vk)->SetDown(true);
    EXPECT_EQ(kb->Captions().CaptionFor(r.vk), r.expected) << "vk " << r.vk;
  }
  auto kb = MakeKeyboard(kGerman, {});
  EXPECT_EQ(kb->Captions().CaptionAt(81, kAltGr), u'@');
  EXPECT_EQ(kb->Captions().CaptionAt(0, {}), 0);
  EXPECT_EQ(kb->Captions().CaptionAt(256, {}), 0);
  // Created in a handle with a zero high word, before any layout is loaded,
  // the model has no table at all; nothing breaks.
  Keyboard none(parts.Deps(), 0x00000409);
  EXPECT_EQ(none.Captions().CaptionFor(65), u' ');
  EXPECT_EQ(none.Captions().CharLabelFor(65), u' ');
  EXPECT_EQ(none.Captions().CaptionAt(65, {}), 0);
}

TEST_F(CaptionsTest, SetHKLIgnoresZeroLowWordOnlyAndUnchangedHandles) {
  auto kb = MakeKeyboard(kGerman, {65});
  const auto calls = layouts.calls.size();
  const auto translations = layouts.toUnicodeCalls;
  for (Hkl h : {Hkl{0}, Hkl{0x00000409}, kGerman}) {
    kb->Captions().SetHKL(h);
    EXPECT_EQ(kb->Captions().CurrentLayout(), kGerman) << h;
  }
  EXPECT_EQ(layouts.calls.size(), calls) << "no re-placement";
  EXPECT_EQ(layouts.toUnicodeCalls, translations) << "no table";
  kb->Captions().SetHKL(kUs);
  EXPECT_EQ(kb->Captions().CurrentLayout(), kUs);
  EXPECT_EQ(kb->Captions().CaptionAt(89, {}), u'y');
  EXPECT_EQ(kb->Captions().CaptionAt(81, kAltGr), u' ') << "the US table: no AltGr+Q";
}

TEST_F(CaptionsTest, SetHKLRedrawsOnlyOnceShownAndPainting) {
  auto kb = MakeKeyboard(kGerman, {65});
  screen.copies.clear();
  kb->Captions().SetHKL(kUs);
  EXPECT_TRUE(screen.copies.empty()) << "not shown yet";
  kb->SetShown(true);
  screen.copies.clear();
  kb->Captions().SetHKL(kGerman);
  EXPECT_FALSE(screen.copies.empty());
  screen.copies.clear();
  kb->Picture().SetPaintingEnabled(false);
  kb->Captions().SetHKL(kFrench);
  EXPECT_TRUE(screen.copies.empty());
}

TEST_F(CaptionsTest, SwitchingBackAndForthBuildsEachTableOnce) {
  auto kb = MakeKeyboard(kUs, {65});
  kb->Captions().SetHKL(kGerman);
  int translations = 0;
  for (int i = 0; i < 4; ++i) {
    kb->Captions().SetHKL(kUs);
    EXPECT_EQ(kb->Captions().CaptionAt(81, kAltGr), u' ');
    kb->Captions().SetHKL(kGerman);
    EXPECT_EQ(kb->Captions().CaptionAt(81, kAltGr), u'@');
    // The first round translates what it reads; the others nothing.
    if (i == 0) translations = layouts.toUnicodeCalls;
  }
  EXPECT_EQ(layouts.toUnicodeCalls, translations);
  EXPECT_EQ(captions.Size(), 2u);
}

TEST_F(CaptionsTest, ACombinationIsTranslatedWhenFirstShownAndOncePerLayout) {
  // Steps over one model, shown; German has a dead key that no step may leave pending.
  parts.theme.KeyFontLarge.Size = 10;  // character labels are drawn
  auto kb = MakeKeyboard(kGerman, {20, 65, 160, 220});
  kb->SetShown(true);
  Keyboard& k = *kb;
  struct Step {
    const char* what;
    std::function<void()> run;
    std::size_t combinations;  // translated so far, all layouts together
  } steps[] = {
      {"first paint: the base combination", [] {}, 1},
      {"drawn again",
       [&] { k.Picture().Redraw(false), k.Picture().Redraw(true), k.Picture().Redraw(false); }, 1},
      {"Shift", [&] { k.KeyFor(160)->SetDown(true); }, 2},
      {"Shift again",
       [&] {
         k.KeyFor(160)->SetDown(false), k.KeyFor(160)->SetDown(true);
         k.KeyFor(160)->SetDown(false);
       },
       2},
      {"Caps Lock", [&] { k.KeyFor(20)->SetDown(true), k.KeyFor(20)->SetDown(false); }, 3},
      // US English has no key 220: its caps entry is a space, so the base is read too.
      {"another layout: its own table", [&] { k.Captions().SetHKL(kUs); }, 5},
      {"and back, and again",
       [&] {
         k.Captions().SetHKL(kGerman), k.Captions().SetHKL(kUs), k.Captions().SetHKL(kGerman);
       },
       5},
  };
  std::size_t combinations = 0;
  int calls = 0;
  for (const auto& step : steps) {
    step.run();
    EXPECT_EQ(layouts.combinations.size(), step.combinations) << step.what;
    // A combination translated before costs nothing again.
    if (step.combinations == combinations) {
      EXPECT_EQ(layouts.toUnicodeCalls, calls) << step.what;
    }
    combinations = step.combinations, calls = layouts.toUnicodeCalls;
    EXPECT_EQ(layouts.pendingDead, 0) << step.what;
  }

  // Read whole, each table comes out as one built in a single pass.
  for (Hkl hkl : {kGerman, kUs}) {
    k.Captions().SetHKL(hkl);
    for (int vk = 1; vk <= 255; ++vk)
      for (int i = 0; i < 16; ++i) k.Captions().CaptionAt(vk, Combination(i));
  }
  EXPECT_EQ(layouts.combinations.size(), 32u);
  calls = layouts.toUnicodeCalls;
  k.Picture().Redraw(true);
  EXPECT_EQ(layouts.toUnicodeCalls, calls);
  CaptionCache whole;
  for (Hkl hkl : {kGerman, kUs}) {
    k.Captions().SetHKL(hkl);
    const CaptionTable& t = TableFor(whole, layouts, hkl);
    for (int vk = 1; vk <= 255; ++vk)
      for (int i = 0; i < 16; ++i)
        ASSERT_EQ(k.Captions().CaptionAt(vk, Combination(i)),
                  t.Chars[vk][i >> 3][(i >> 2) & 1][(i >> 1) & 1][i & 1])
            << hkl << " vk " << vk << " combination " << i;
  }
  EXPECT_EQ(layouts.pendingDead, 0);
}

TEST_F(CaptionsTest, StartingTranslatesOnlyWhatTheFirstPaintShows) {
  struct Row {
    Hkl foreground;
    std::size_t combinations;
  } rows[] = {
      {kUs, 1},      // the key names read the same base combination the captions show
      {kGerman, 2},  // names in US English, captions in German
  };
  for (const auto& r : rows) {
    test::KeyboardParts fresh;
    fresh.layouts.layouts = layouts.layouts;
    fresh.layouts.installed = {kGerman, kUs};
    fresh.theme.KeyFontSmall.Size = 8;
    fresh.theme.KeyFontLarge.Size = 10;
    Keyboard kb(fresh.Deps(), r.foreground);
    ASSERT_TRUE(kb.LoadLayout("Standard"));
    kb.Captions().ChooseNamesLayout();
    kb.SetShown(true);
    EXPECT_EQ(fresh.layouts.combinations.size(), r.combinations) << r.foreground;
    // Once a key; twice only where a dead key may be pending: the first keys,
    // up to one that types something, and a dead key.
    EXPECT_LT(fresh.layouts.toUnicodeCalls, static_cast<int>(r.combinations) * 75 * 11 / 10)
        << r.foreground;
    EXPECT_EQ(kb.Captions().KeyName(89), u"Y");
    EXPECT_EQ(kb.Captions().CaptionFor(89), u'y');
  }
}

TEST_F(CaptionsTest, NamesAreUpperCasedByTheSystem) {
  // A layout with a schwa (Latin Extended-B) on A and sharp s on Q; the
  // fake system knows the schwa's capital, and sharp s has none.
  constexpr Hkl kAzeri = 0x042C042C;
  Layout az = UsLayout();
  AddLetter(az, 65, 0x1E, u'\u0259', u'\u018F');
  AddLetter(az, 81, 0x10, u'\u00DF', u'\u00DF');
  layouts.layouts[kAzeri] = az;
  layouts.installed = {kAzeri};
  layouts.upperCase[u'\u0259'] = u'\u018F';
  auto kb = MakeKeyboard(kAzeri, {65});
  kb->Captions().SetNamesLayout(kAzeri);
  EXPECT_EQ(kb->Captions().KeyName(65), u"\u018F");
  EXPECT_EQ(kb->Captions().KeyName(81), u"\u00DF");
  EXPECT_EQ(kb->Captions().KeyName(90), u"Z");
  EXPECT_GT(layouts.upperCaseCalls, 0);
}

TEST_F(CaptionsTest, TheCacheIsSharedByEveryKeyboardOverIt) {
  auto first = MakeKeyboard(kGerman, {65});
  const int translations = layouts.toUnicodeCalls;
  auto second = MakeKeyboard(kGerman, {65});
  EXPECT_EQ(layouts.toUnicodeCalls, translations);
  EXPECT_EQ(second->Captions().CaptionFor(186), u'\u00FC');
}

TEST_F(CaptionsTest, KeysMoveToWhereTheLayoutPutsThem) {
  auto kb = MakeKeyboard(kUs, {65, 89, 90});
  const Key& y = *kb->KeyFor(89);
  const Key& z = *kb->KeyFor(90);
  EXPECT_EQ(z.OutlineOwner(), &z);
  kb->Captions().SetHKL(kGerman);
  // German Z sits where US English has Y, and the other way round.
  EXPECT_EQ(z.OutlineOwner(), &y);
  EXPECT_EQ(y.OutlineOwner(), &z);
  bool part = false;
  EXPECT_TRUE(z.HitTest(45, 15, part)) << "Z is hit in the outline of position 89";
  EXPECT_FALSE(z.HitTest(75, 15, part));
  EXPECT_EQ(kb->Captions().CaptionFor(90), u'z');
  kb->Captions().SetHKL(kUs);
  EXPECT_EQ(z.OutlineOwner(), &z);
  EXPECT_EQ(y.OutlineOwner(), &y);
  EXPECT_EQ(kb->KeyFor(65)->OutlineOwner(), kb->KeyFor(65));
}

TEST_F(CaptionsTest, TheKeyAtATakenPositionIsReleased) {
  auto kb = MakeKeyboard(kUs, {65, 89, 90});
  kb->KeyFor(89)->SetDown(true);
  kb->Captions().SetHKL(kGerman);
  EXPECT_FALSE(kb->IsKeyDown(89));
  EXPECT_EQ(kb->KeyStateEntry(89), 0);
}

TEST_F(CaptionsTest, AKeyStaysWhereItIsUnlessItsPositionIsACharacterKey) {
  // A layout that puts A on the scan code of Enter.
  Layout odd;
  AddLetter(odd, 65, 0x1C, u'a', u'A');
  layouts.layouts[0x22222222] = odd;
  // A load that fails at code 70 leaves keys up to 69 only: no key at Q (81).
  Keyboard kb(parts.Deps(), kUs);
  EXPECT_FALSE(kb.LoadLayoutText("t", test::KeyLine(13, 0, 0, 30, 30) + "\r\n" +
                                          test::KeyLine(65, 30, 0, 60, 30) + "\r\n70=x"));
  ASSERT_EQ(kb.KeyFor(81), nullptr);
  kb.Captions().SetHKL(0x22222222);
  EXPECT_EQ(kb.KeyFor(65)->OutlineOwner(), kb.KeyFor(65));
  EXPECT_EQ(kb.KeyFor(13)->OutlineOwner(), kb.KeyFor(13)) << "Enter keeps its own place";
  // Nor does A move onto a position that has no key: Q's, in this model.
  kb.Captions().SetHKL(kFrench);
  EXPECT_EQ(kb.KeyFor(65)->OutlineOwner(), kb.KeyFor(65));
}

TEST_F(CaptionsTest, UsEnglishIsLoadedOnlyWhenNotInstalled) {
  auto kb = MakeKeyboard(kUs, {65, 81});
  layouts.calls.clear();
  kb->Captions().SetHKL(kGerman);
  EXPECT_EQ(std::count(layouts.calls.begin(), layouts.calls.end(), "Load 04090409"), 0);

  layouts.installed = {kGerman, kFrench};
  layouts.calls.clear();
  kb->Captions().SetHKL(kFrench);
  EXPECT_EQ(layouts.calls,
            (std::vector<std::string>{"List", "Load 04090409", "Unload " + std::to_string(kUs)}));
  // The placement used US English all the same: A and Q trade places.
  EXPECT_EQ(kb->KeyFor(65)->OutlineOwner(), kb->KeyFor(81));
  EXPECT_EQ(kb->KeyFor(81)->OutlineOwner(), kb->KeyFor(65));
}

TEST_F(CaptionsTest, AKeyboardWithoutKeysAsksForNoLayout) {
  layouts.installed = {kGerman};  // US English would have to be loaded
  Keyboard kb(parts.Deps(), kFrench);
  EXPECT_EQ(layouts.calls, std::vector<std::string>{});
  EXPECT_EQ(layouts.toUnicodeCalls, 0);
}

TEST_F(CaptionsTest, ALayoutHandedBackInsteadOfUsEnglishIsNotUnloaded) {
  layouts.layouts.erase(kUs);  // US English cannot be loaded
  layouts.installed = {kGerman};
  auto kb = MakeKeyboard(kFrench, {65});
  layouts.calls.clear();
  kb->Captions().SetHKL(kGerman);
  EXPECT_EQ(std::count(layouts.calls.begin(), layouts.calls.end(), "Load 04090409"), 1);
  for (const auto& c : layouts.calls) EXPECT_EQ(c.rfind("Unload", 0), std::string::npos) << c;
  layouts.calls.clear();
  kb->Captions().SetNamesLayout(kGerman);
  for (const auto& c : layouts.calls) EXPECT_EQ(c.rfind("Unload", 0), std::string::npos) << c;
}

TEST_F(CaptionsTest, KeysGoToUsEnglishPositionsWhenTheSystemHandsBackAnotherLayout) {
  // Wine's way: no US English to load, the user's layout handed back, and
  // that layout's own scan codes map back to its own keys.
  layouts.layouts.erase(kUs);
  layouts.installed = {kGerman};
  Layout& de = layouts.layouts[kGerman];
  for (const auto& [vk, scan] : de.vkToScan) de.scanToVk[scan] = vk;
  auto kb = MakeKeyboard(kGerman, {65, 81, 89, 90, 186});
  const auto placeOf = [&](int vk) { return kb->KeyFor(vk)->OutlineOwner()->Code(); };
  EXPECT_EQ(placeOf(90), 89) << "German Z sits where US English has Y";
  EXPECT_EQ(placeOf(89), 90);
  EXPECT_EQ(placeOf(186), 186);
  kb->Captions().SetNamesLayout(kGerman);
  EXPECT_EQ(kb->Captions().KeyName(89), u"Z");
  kb->Captions().SetHKL(kFrench);
  EXPECT_EQ(placeOf(65), 81) << "French A sits where US English has Q";
  EXPECT_EQ(placeOf(81), 65);
  EXPECT_EQ(placeOf(90), 90);
}

TEST_F(CaptionsTest, NamesComeFromTheNamingLayoutAtUsPositions) {
  auto kb = MakeKeyboard(kUs, {65});
  kb->Captions().SetNamesLayout(kGerman);
  EXPECT_EQ(kb->Captions().KeyName(89), u"Z") << "German Z sits at US position 89";
  EXPECT_EQ(kb->Captions().KeyName(90), u"Y");
  EXPECT_EQ(kb->Captions().KeyName(186), u"\u00DC") << "upper-cased";
  EXPECT_EQ(kb->Captions().KeyName(220), u"^");
  EXPECT_EQ(kb->Captions().KeyName(13), u"Enter");
  EXPECT_EQ(kb->Captions().KeyName(32), u"Space");
  EXPECT_EQ(kb->Captions().KeyName(187), u"+") << "types nothing in the fake: keeps its name";
  EXPECT_EQ(kb->Captions().KeyName(0), u"");
  EXPECT_EQ(kb->Captions().KeyName(256), u"");

  // A later call starts again from the key-name table.
  kb->Captions().SetNamesLayout(kUs);
  EXPECT_EQ(kb->Captions().KeyName(89), u"Y");
  EXPECT_EQ(kb->Captions().KeyName(186), u":");
  EXPECT_EQ(kb->Captions().KeyName(220), u"\\");

  // A handle that is not installed: the first installed layout names the keys.
  kb->Captions().SetNamesLayout(kFrench);
  EXPECT_EQ(kb->Captions().KeyName(89), u"Z");
  EXPECT_EQ(layouts.pendingDead, 0);
}

TEST_F(CaptionsTest, NamesWithNoLayoutInstalledStillStartFromTheKeyNameTable) {
  layouts.installed.clear();
  auto kb = MakeKeyboard(kUs, {65});
  kb->Captions().SetNamesLayout(kGerman);
  for (int vk = 1; vk <= 255; ++vk) {
    if (vk != 89 && vk != 90 && vk != 186 && vk != 220 && vk != 65 && vk != 81 && vk != 49) {
      EXPECT_EQ(kb->Captions().KeyName(vk), kKeyNames[static_cast<std::size_t>(vk)]) << vk;
    }
  }
}

TEST_F(CaptionsTest, ChooseNamesLayoutPrefersUsEnglishThenTheFirstInstalled) {
  struct Row {
    std::vector<Hkl> installed;
    int vk;
    std::u16string name;
  } rows[] = {
      {{kGerman, kUs}, 89, u"Y"},      // US English wins, also when not first
      {{kGerman, kFrench}, 89, u"Z"},  // otherwise the first installed
      {{kFrench, kGerman}, 65, u"Q"},
  };
  for (const auto& r : rows) {
    layouts.installed = r.installed;
    auto kb = MakeKeyboard(kGerman, {65});
    kb->Captions().ChooseNamesLayout();
    EXPECT_EQ(kb->Captions().KeyName(r.vk), r.name) << r.installed.front();
    EXPECT_EQ(kb->Captions().KeyName(27), u"Esc");
  }
}

TEST_F(CaptionsTest, ChooseNamesLayoutNamesTheKeysWithNoLayoutInstalled) {
  layouts.installed.clear();
  auto kb = MakeKeyboard(kGerman, {65});
  EXPECT_EQ(kb->Captions().KeyName(27), u"") << "not named before";
  layouts.calls.clear();
  kb->Captions().ChooseNamesLayout();
  EXPECT_EQ(kb->Captions().KeyName(27), u"Esc");
  EXPECT_EQ(kb->Captions().KeyName(13), u"Enter");
  // Character positions from US English, loaded for the occasion.
  EXPECT_EQ(kb->Captions().KeyName(186), u":");
  EXPECT_EQ(std::count(layouts.calls.begin(), layouts.calls.end(), "Unload " + std::to_string(kUs)),
            1);
}

}  // namespace
}  // namespace luma
