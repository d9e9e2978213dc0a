// The word in progress followed through key events, and what choosing a
// suggestion does to the application's text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keys/VirtualKeys.h"
#include "prediction/WordInProgress.h"

namespace luma {
namespace {

TEST(WordEventForKey, EachKeyTypesWaitsBacksOrResets) {
  using Kind = WordEvent::Kind;
  constexpr HeldModifiers kNone{}, kCtrl{true, false, false}, kAlt{false, true, false},
      kAltGr{true, true, false}, kWin{false, false, true};
  struct KeyRow {
    int vk;
    HeldModifiers held;
    char16_t typed;
    WordEvent expected;
  };
  const KeyRow rows[] = {
      {'A', kNone, u'a', {Kind::Typed, u'a'}},
      {kVkOem1, kNone, u'é', {Kind::Typed, u'é'}},
      {'E', kAltGr, u'€', {Kind::Typed, u'€'}},
      {kVkNumpad0 + 7, kNone, u'7', {Kind::Typed, u'7'}},
      {kVkDecimal, kNone, u',', {Kind::Typed, u','}},
      {kVkSpace, kNone, 0, {Kind::Typed, u' '}},
      {kVkEnter, kNone, 0, {Kind::Typed, u'\r'}},
      {kVkTab, kNone, 0, {Kind::Typed, u'\t'}},
      {kVkBackspace, kNone, 0, {Kind::Backspace}},
      {kVkOem1, kNone, 0, {Kind::None}},  // a dead key waiting for its letter
      // Shortcuts, and keys that move the caret or act on text unseen.
      {'C', kCtrl, 3, {Kind::Reset}},
      {'F', kAlt, u'f', {Kind::Reset}},
      {'D', kWin, u'd', {Kind::Reset}},
      {kVkDelete, kAltGr, 0, {Kind::Reset}},
      {kVkBackspace, kCtrl, 0, {Kind::Reset}},
      {kVkBackspace, kAlt, 0, {Kind::Reset}},
      {kVkNumpad0 + 7, kNone, 0, {Kind::Reset}},  // Home with Num Lock off
      {300, kNone, u'x', {Kind::Reset}},
  };
  for (const KeyRow& r : rows) {
    EXPECT_EQ(WordEventForKey(r.vk, r.held, r.typed), r.expected)
        << "vk " << r.vk << " ctrl " << r.held.ctrl << " alt " << r.held.alt << " win "
        << r.held.win;
  }
  // Modifiers and locks act on the key after them.
  for (const int vk : {kVkShift, kVkLeftShift, kVkRightCtrl, kVkLeftAlt, kVkRightAlt, kVkLeftWin,
                       kVkCapsLock, kVkNumLock, kVkScrollLock}) {
    EXPECT_EQ(WordEventForKey(vk, kNone, 0), WordEvent{Kind::None}) << "vk " << vk;
  }
  // Arrows, Page Up, Page Down, End, Home, Delete, Escape, F5, Apps, none.
  for (const int vk : {kVkLeft, kVkUp, kVkRight, kVkDown, kVkPageUp, kVkPageUp + 1, kVkPageUp + 2,
                       kVkPageUp + 3, kVkDelete, kVkEscape, kVkF1 + 4, kVkApps, 0}) {
    EXPECT_EQ(WordEventForKey(vk, kNone, 0), WordEvent{Kind::Reset}) << "vk " << vk;
  }
}

// Steps as text: '\b' is Backspace, '|' a reset, "[word]" choosing the
// table's word as offered; every other character is typed. Returns what the
// application's text becomes, and the words reported as ended.
struct TypingReplay {
  std::u16string text;
  std::vector<EndedWord> ended;
};

TypingReplay ReplaySteps(WordInProgress& word, std::u16string_view steps) {
  TypingReplay replay;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const char16_t c = steps[i];
    if (c == u'\b') {
      word.Backspace();
      if (!replay.text.empty()) replay.text.pop_back();
    } else if (c == u'|') {
      word.Reset();
    } else if (c == u'[') {
      const std::size_t close = steps.find(u']', i);
      const std::u16string offered = word.Offered(steps.substr(i + 1, close - i - 1), false);
      const Completion completion = word.Choose(offered);
      replay.text.resize(replay.text.size() - static_cast<std::size_t>(completion.backspaces));
      replay.text += completion.text;
      i = close;
    } else {
      const TypedResult result = word.Typed(c);
      if (result.eraseSpaceFirst) replay.text.pop_back();
      replay.text += c;
      if (result.ended) replay.ended.push_back(*result.ended);
    }
  }
  return replay;
}

TEST(WordInProgress, FollowsWordsBoundariesBackspacesAndResets) {
  struct WordRow {
    std::u16string_view steps;
    std::u16string_view word;
    std::u16string_view previous;
    bool sentenceStart;
  };
  const WordRow rows[] = {
      {u"", u"", u"", true},  // nothing known counts as a start
      {u"hello", u"hello", u"", true},
      {u"Hello wor", u"wor", u"Hello", false},
      {u"hello, w", u"w", u"hello", false},
      {u"hello. Wor", u"Wor", u"hello", true},
      {u"why? \"w", u"w", u"why", true},
      {u"hello.w", u"w", u"hello", false},  // "e.g": no space after the mark
      {u"hello.", u"", u"hello", false},
      {u"Dear Ann,\rw", u"w", u"Ann", true},
      {u"well-known", u"known", u"well", false},
      {u"Tab\tw", u"w", u"Tab", false},
      {u"don'", u"don'", u"", true},
      {u"rock'n'roll", u"rock'n'roll", u"", true},
      {u"'quote", u"quote", u"", true},
      {u"dogs' t", u"t", u"dogs", false},
      {u"at 10am", u"10am", u"at", false},
      {u"2024 w", u"w", u"", false},  // a number is no word to follow
      {u"Привет мир. Как", u"Как", u"мир", true},
      // Backspace takes letters off, then the space, and the word is back.
      {u"hello wor\b\b", u"w", u"hello", false},
      {u"hello w\b", u"", u"hello", false},
      {u"hello w\b\b", u"hello", u"", true},
      {u"ab😀\bc", u"abc", u"", true},  // one character, two code units
      // Backspace past what the keyboard typed: nothing is known.
      {u"one. hi\b\b\b\b\b\b\b", u"", u"", true},
      {u"one. hi\b\b\b\b\b\b\bx", u"x", u"", true},
      // Keys that cannot be followed.
      {u"one two|", u"", u"", true},
      {u"one two\x03x", u"x", u"", true},  // a control character: a shortcut
  };
  for (const WordRow& r : rows) {
    WordInProgress word;
    ReplaySteps(word, r.steps);
    const std::string what = "after \"" + std::string(r.steps.begin(), r.steps.end()) + "\"";
    EXPECT_EQ(word.Word(), r.word) << what;
    EXPECT_EQ(word.PreviousWord(), r.previous) << what;
    EXPECT_EQ(word.AtSentenceStart(), r.sentenceStart) << what;
  }
}

// Older text is let go; what is kept still answers as if all were known,
// until Backspace goes past it.
TEST(WordInProgress, BackspaceOverLongTextAgreesWithTypingUpToThere) {
  // Repeated to some 600 characters; their lengths differ, so that the text
  // is let go in front of different words.
  for (const std::u16string_view repeated : {u"ab. Cd, ef\r", u"one. Two ", u"x y? z "}) {
    std::u16string text;
    while (text.size() < 600) text += repeated;
    WordInProgress word;
    ReplaySteps(word, text);
    std::size_t known = 0;
    for (std::size_t left = text.size() - 1; left > 0; --left) {
      word.Backspace();
      WordInProgress typedUpToThere;
      ReplaySteps(typedUpToThere, std::u16string_view(text).substr(0, left));
      const bool same = word.Word() == typedUpToThere.Word() &&
                        word.PreviousWord() == typedUpToThere.PreviousWord() &&
                        word.AtSentenceStart() == typedUpToThere.AtSentenceStart();
      const bool forgotten = word.Word().empty() && word.PreviousWord().empty();
      if (!same && forgotten) break;
      EXPECT_TRUE(same) << left << " characters of the text left";
      ++known;
    }
    EXPECT_GE(known, 100u);
    EXPECT_LT(known, text.size() - 1);  // long enough to be let go
  }
}

TEST(WordInProgress, ChoosingTypesTheWordAndAMarkTakesItsSpaceBack) {
  struct ChoiceRow {
    std::u16string_view steps;
    std::u16string_view text;
  };
  const ChoiceRow rows[] = {
      {u"hello th[the]", u"hello the "},
      {u"hello [world]", u"hello world "},  // nothing typed yet
      {u"th[the]", u"The "},                // a sentence start: capitalised
      {u"Hello. wo[would]", u"Hello. Would "},
      {u"so ha[Haus]", u"so Haus "},    // the table's capital stays
      {u"so ete[été]", u"so été "},     // accents differ: typed again
      {u"so HE[hello]", u"so HELLO "},  // capitals typed: all capitals
      {u"so th[the]th[the]", u"so the the "},
      // The marks that follow a word take the chosen space back, once.
      {u"so th[the]..", u"so the.."},
      {u"so th[the]-", u"so the -"},
      {u"so th[the] ,", u"so the  ,"},
      {u"so th[the]\b,", u"so the,"},
      {u"so th[the]|,", u"so the ,"},
      // Erased and typed again, it goes on from there.
      {u"so wo[would]\b\b\bn", u"so woun"},
  };
  for (const ChoiceRow& r : rows) {
    WordInProgress word;
    const TypingReplay replay = ReplaySteps(word, r.steps);
    EXPECT_EQ(replay.text, r.text) << std::string(r.steps.begin(), r.steps.end());
  }
  for (const char16_t mark : std::u16string_view(u".,;:!?")) {
    WordInProgress word;
    EXPECT_EQ(ReplaySteps(word, u"so th[the]" + std::u16string(1, mark)).text,
              u"so the" + std::u16string(1, mark));
  }
}

TEST(WordInProgress, ReportsEachWholeWordTypedOnceWithTheOneBeforeIt) {
  struct EndedRow {
    std::u16string_view steps;
    std::vector<EndedWord> ended;
  };
  const EndedRow rows[] = {
      {u"hello world ", {{u"hello", u""}, {u"world", u"hello"}}},
      {u"Hello, world.", {{u"Hello", u""}, {u"world", u"Hello"}}},
      {u"don't stop\r", {{u"don't", u""}, {u"stop", u"don't"}}},
      {u"dogs' bark ", {{u"dogs", u""}, {u"bark", u"dogs"}}},
      {u"ab\b\bcd ", {{u"cd", u""}}},
      {u"abc1 x ", {{u"x", u""}}},  // numbers are not learned
      {u"hello th[the], so ", {{u"hello", u""}, {u"so", u"the"}}},
      {u"one|two ", {{u"two", u""}}},
  };
  for (const EndedRow& r : rows) {
    WordInProgress word;
    EXPECT_EQ(ReplaySteps(word, r.steps).ended, r.ended)
        << std::string(r.steps.begin(), r.steps.end());
  }
}

}  // namespace
}  // namespace luma
