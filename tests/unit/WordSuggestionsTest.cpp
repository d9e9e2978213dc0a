// What the row offers as keys are typed, and what choosing a word sends: the
// keyboard's own keys, clicked through the input, over a fake layout.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "InputTimeline.h"
#include "WordBlob.h"
#include "keys/VirtualKeys.h"
#include "prediction/PredictionGate.h"
#include "wordrow/TableWords.h"
#include "wordrow/WordSuggestions.h"

namespace luma {
namespace {

using Learned = std::vector<std::string>;

constexpr int kVkComma = 188, kVkAcute = 222;

// Letters, space and comma as a US layout types them, and a dead acute that
// makes é of e.
fakes::FakeKeyboardLayouts::Layout LettersLayout() {
  fakes::FakeKeyboardLayouts::Layout layout;
  auto add = [&](unsigned vk, char16_t small, char16_t capital) {
    layout.chars[vk] = [=](const KeyStateArray& s) {
      const bool shift = (s[kVkShift] & 0x80) != 0, caps = (s[kVkCapsLock] & 1) != 0;
      return std::pair<int, std::u16string>{1, std::u16string(1, shift != caps ? capital : small)};
    };
  };
  for (char c = 'A'; c <= 'Z'; ++c)
    add(static_cast<unsigned>(c), static_cast<char16_t>(c - 'A' + 'a'), static_cast<char16_t>(c));
  add(kVkSpace, u' ', u' ');
  add(kVkComma, u',', u'<');
  layout.deadKeys[kVkAcute] = u'\u00B4';
  layout.composed = {{u"\u00B4e", u'\u00E9'}};
  return layout;
}

// A few words, and "is" after "it".
struct FakeWords : WordSource {
  std::vector<std::u16string> table{u"word", u"world", u"would", u"\u00E9t\u00E9"};
  std::vector<std::string> learned;
  bool hasTable = true;
  bool SetLanguage(std::uint16_t) override { return hasTable; }
  std::vector<std::u16string> Suggest(std::u16string_view prefix, std::u16string_view previous,
                                      int count, const std::vector<std::u16string>&) override {
    std::vector<std::u16string> out;
    if (prefix.empty()) {
      if (previous == u"it") out.push_back(u"is");
      return out;
    }
    std::u16string lower(prefix);
    for (auto& c : lower)
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    for (const auto& w : table)
      if (w.size() > lower.size() && w.compare(0, lower.size(), lower) == 0 &&
          static_cast<int>(out.size()) < count)
        out.push_back(w);
    return out;
  }
  void Learn(std::u16string_view word, std::u16string_view previous) override {
    learned.push_back(std::string(word.begin(), word.end()) + " after '" +
                      std::string(previous.begin(), previous.end()) + "'");
  }
};

class WordSuggestionsTest : public test::InputTimeline {
 public:
  void SetUp() override {
    parts.layouts.layouts[kUsEnglishHkl] = LettersLayout();
    InputTimeline::SetUp();
    row.SetBounds({0, 0, 441, 30});
    suggestions = std::make_unique<WordSuggestions>(
        WordSuggestionParts{*keyboard, parts.layouts, sender, input, row, words});
    input.SetTypingListener(suggestions.get());
    suggestions->FollowLayout(kUsEnglishHkl);
    suggestions->SetEnabled(true);
  }
  // Keys by their codes, text by its characters, as the application gets them.
  std::string Typed() {
    std::string out;
    for (const auto& e : sender.sent) {
      if (e.flags & kKeyEventKeyUp) continue;
      if (e.flags & kKeyEventUnicode)
        out += e.scan < 0x80 ? std::string(1, static_cast<char>(e.scan)) : "<u>";
      else
        out += "[" + std::to_string(e.vk) + "]";
    }
    sender.sent.clear();
    return out;
  }
  // The words the row shows, with commas between them.
  std::u16string Shown() const {
    std::u16string out;
    for (int i = 0; i < WordRow::kCells; ++i)
      if (!row.Word(i).empty()) out += (out.empty() ? u"" : u",") + row.Word(i);
    return out;
  }
  void Type(std::initializer_list<int> keys) {
    for (int vk : keys) input.Click(Target::Key(vk));
  }
  // Past the start of a sentence, where the user's own case counts.
  void AfterAWord() {
    suggestions->LoseTrack();
    Type({'A', kVkSpace});
    words.learned.clear();
    Typed();
  }

  fakes::FakeSystemColors colors;
  WordRow row{{parts.bitmaps, parts.screen, parts.theme, colors}, [](int) {}};
  FakeWords words;
  std::unique_ptr<WordSuggestions> suggestions;
};

// Each after a word: the steps, then what the row shows, what the
// application got and what was learned. A latched Shift is let go after the
// word; a password field pauses the row.
TEST_F(WordSuggestionsTest, OffersTypesAndLearnsAsTheUserTypes) {
  const struct {
    const char* what;
    const char* steps;
    std::u16string row;
    std::string typed, learned;
  } rows[] = {
      {"the rest of the word and a space", "key 87; key 79; offered word,world,would; choose 1",
       u"", "[87][79]rld ", "world after 'a'"},
      {"a latched Shift offers a capital",
       "click Shift; key 87; offered Word,World,Would; choose 0", u"", "[160][87]ord ",
       "Word after 'a'"},
      {"a comma takes the chosen word's space back", "key 87; key 79; choose 0; key 188", u"",
       "[87][79]rd [8][188]", "word after 'a'"},
      {"a dead key composed with its letter", "key 222; key 69", u"\u00E9t\u00E9", "[222][69]", ""},
      {"a word typed whole is learned, and the next word offered after it",
       "key 73; key 84; key 32", u"is", "[73][84][32]", "it after 'a'"},
      {"a password field: nothing offered or learned",
       "password 1; key 87; key 79; key 32; paused; password 0", u"", "[87][79][32]", ""},
      {"the middle button's Ctrl makes a shortcut, not a letter", "key 87; click A middle", u"",
       "[87][162][65]", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    AfterAWord();
    std::istringstream steps(r.steps);
    for (std::string step; std::getline(steps >> std::ws, step, ';');) {
      std::istringstream stepWords(step);
      std::string verb, what;
      stepWords >> verb >> what;
      if (verb == "offered") {
        EXPECT_EQ(Shown(), std::u16string(what.begin(), what.end()));
      } else if (verb == "paused") {
        EXPECT_EQ(row.Message(), RowNote(RowState::Paused));
      } else if (verb == "choose") {
        suggestions->Choose(std::stoi(what));
      } else if (verb == "password") {
        suggestions->SetPasswordField(what == "1");
      } else {
        Act(step);
      }
    }
    EXPECT_EQ(Shown(), r.row);
    EXPECT_EQ(Typed(), r.typed);
    EXPECT_EQ(words.learned, r.learned.empty() ? Learned{} : Learned{r.learned});
    EXPECT_FALSE(keyboard->IsKeyDown(kVkLeftShift));
  }
}

TEST_F(WordSuggestionsTest, ALanguageWithoutATableSaysSoUnlessLearnedWordsMatch) {
  words.hasTable = false;
  suggestions->FollowLayout(kUsEnglishHkl);
  AfterAWord();
  Type({'X'});
  EXPECT_EQ(row.Message(), RowNote(RowState::NoTable));
  AfterAWord();
  Type({'W'});
  EXPECT_EQ(Shown(), u"word,world,would");
}

// The program's tables by language, learned words read, learned, forgotten.
TEST(TableWordsTest, TablesByLanguageAndLearnedWordsKeptAndForgotten) {
  const std::vector<std::uint8_t> english = WordBlob({{"word", 300}, {"world", 350}});
  TableWords words([&](std::string_view name) {
    return name == "en" ? std::span<const std::uint8_t>(english) : std::span<const std::uint8_t>();
  });
  using Row = std::vector<std::u16string>;
  EXPECT_TRUE(words.SetLanguage(0x09));
  EXPECT_EQ(words.Suggest(u"wo", u"", 5, {}), (Row{u"word", u"world"}));
  EXPECT_FALSE(words.SetLanguage(0x07)) << "no German table here";
  EXPECT_EQ(words.Suggest(u"wo", u"", 5, {}), Row{});

  // Learned from a file, then by use: offered in their own language only.
  words.LoadLearned("[de]\nword 2 5 wolke\n");
  EXPECT_FALSE(words.Changed());
  EXPECT_EQ(words.Suggest(u"wo", u"", 5, {}), (Row{u"wolke"}));
  words.SetLanguage(0x09);
  words.Learn(u"wombat", u"");
  words.Learn(u"wombat", u"");
  EXPECT_TRUE(words.Changed());
  EXPECT_NE(words.LearnedText().find("wombat"), std::string::npos);
  const Row learned = words.Suggest(u"wom", u"", 5, {});
  EXPECT_EQ(learned, (Row{u"wombat"}));

  words.Forget();
  EXPECT_EQ(words.Suggest(u"wom", u"", 5, {}), Row{});
  words.SetLanguage(0x07);
  EXPECT_EQ(words.Suggest(u"wo", u"", 5, {}), Row{}) << "every language forgotten";
}

}  // namespace
}  // namespace luma
