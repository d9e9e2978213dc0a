// Scanning over the built-in keyboards and a real input: what the highlight
// steps through, its timeline on the fake timer, and what the picks type.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "InputTimeline.h"
#include "scan/ScanModel.h"
#include "scan/Scanner.h"

namespace luma::test {
namespace {

// A row of five cells 40 pixels wide above the keys; a cell holds a word
// where words[cell] is set.
struct WordCells : ItemArea {
  std::vector<bool> words = {true, true, false, true, false};
  std::vector<std::string> chosen;
  bool shown = true;
  Rect Bounds() const override { return shown ? Rect{0, -20, 200, 0} : Rect{}; }
  int ItemAt(Point p) const override { return p.x / 40; }
  void SetHot(int) override {}
  // New suggestions fill every cell.
  void Choose(int item) override {
    chosen.push_back("w" + std::to_string(item));
    words.assign(5, true);
  }
  void ShowProgress(int, int) override {}
  int ItemCount() const override { return 5; }
  Rect ItemBounds(int item) const override {
    if (!shown || !words[static_cast<std::size_t>(item)]) return {};
    return {item * 40, -20, item * 40 + 40, 0};
  }
};

std::string Name(const Target& t) {
  return (t.kind == Target::Kind::Item ? "w" : "") + std::to_string(t.id);
}

// A level as its rows' first and last item and their count; a group in
// braces, a row in parentheses; "!" where a level does not end with a back.
std::string Shape(const std::vector<ScanNode>& nodes) {
  std::string out;
  for (const ScanNode& node : nodes) {
    const bool back = !node.children.empty() && node.children.back().kind == ScanNode::Kind::Back;
    const std::vector<ScanNode> inner(node.children.begin(), node.children.end() - back);
    out += out.empty() ? "" : " ";
    if (node.kind == ScanNode::Kind::Group)
      out += "{" + Shape(inner) + (back ? "}" : "!}");
    else if (node.kind == ScanNode::Kind::Row)
      out += "(" + Name(inner.front().target) + ".." + Name(inner.back().target) + "/" +
             std::to_string(inner.size()) + (back ? ")" : "!)");
  }
  return out;
}

// A keyboard, its input and a scanner over them, the word cells added to
// both; fresh for each row of a table.
class ScanRig : public InputTimeline, public ScanListener {
 public:
  void TestBody() override {}
  void SetUp() override {
    InputTimeline::SetUp();
    Choose([](Options& o) { o.hoverClick = false; });
    input.AddItemArea(words);
    scanner = std::make_unique<Scanner>(ScanParts{*keyboard, input, scanTimer});
    scanner->AddItemArea(words);
    scanner->SetListener(this);
    scanTimer.onTick = [this] { scanner->Tick(); };
  }

  void HighlightChanged(const ScanHighlight& before, const ScanHighlight& now) override {
    EXPECT_EQ(before, shown) << "the old highlight is the one shown before";
    shown = now;
    log += (log.empty() ? "" : " ") + Named(now);
  }

  static std::string Named(const ScanHighlight& h) {
    using K = ScanHighlight::Kind;
    if (h.kind == K::Group) return "group" + std::to_string(h.area.left);
    if (h.kind == K::Row) return "row" + std::to_string(h.area.top);
    if (h.kind == K::Item) return Name(h.target);
    return h.kind == K::Back ? "back" : h.kind == K::Stopped ? "stopped" : "none";
  }

  // All three timers on one clock, a millisecond at a time.
  void Wait(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i)
      scanTimer.Advance(1), pressTimer.Advance(1), hoverTimer.Advance(1);
  }

  // Space-separated: "start", "w<ms>" wait, "p" a press of the pick switch,
  // "h<ms>" a hold of it, "n" a press of the step switch, "full" the full
  // keyboard loaded and told, "@<x>,<y>" the pointer moved over the keys,
  // "|" a mark in the log.
  void Run(const std::string& script) {
    std::istringstream in(script);
    for (std::string step; in >> step;) {
      const auto ms = [&] { return static_cast<std::uint32_t>(std::stoul(step.substr(1))); };
      if (step == "start") {
        scanner->Start();
      } else if (step == "p" || step == "n") {
        const ScanSwitch which = step == "p" ? ScanSwitch::Pick : ScanSwitch::Next;
        scanner->SwitchDown(which, scanTimer.now);
        scanner->SwitchUp(which, scanTimer.now);
      } else if (step[0] == 'h') {
        scanner->SwitchDown(ScanSwitch::Pick, scanTimer.now);
        Wait(ms());
        scanner->SwitchUp(ScanSwitch::Pick, scanTimer.now);
      } else if (step[0] == 'w') {
        Wait(ms());
      } else if (step == "full") {
        ASSERT_TRUE(keyboard->LoadLayout("Full"));
        keyboard->ScaleToClient(671, 181);
      } else if (step[0] == '@') {
        keyboard->TrackPointer(std::stoi(step.substr(1)),
                               std::stoi(step.substr(step.find(',') + 1)));
      } else if (step == "|") {
        log += log.empty() ? "|" : " |";
      } else {
        FAIL() << "unknown step " << step;
      }
    }
  }

  // The keys sent, "ext" where with the extended flag, then the words.
  std::string Typed() {
    std::string out;
    for (const KeyEvent& e : sender.sent)
      out += (out.empty() ? "" : ", ") + std::to_string(e.vk) +
             ((e.flags & kKeyEventKeyUp) ? " up" : " down") +
             ((e.flags & kKeyEventExtendedKey) ? " ext" : "");
    sender.sent.clear();
    for (const std::string& w : words.chosen) out += (out.empty() ? "" : ", ") + w;
    words.chosen.clear();
    return out;
  }

  fakes::FakeTimer scanTimer;
  WordCells words;
  std::unique_ptr<Scanner> scanner;
  ScanHighlight shown;
  std::string log;
};

TEST(ScanTest, KeysGatherIntoRowsAndBlocksAsTheyLie) {
  ScanRig rig;
  rig.SetUp();
  // The standard keyboard's six rows; the full one's main keys, navigation
  // block and pad, whose tall + and Enter sit in the row their centre falls
  // in. Delete and Enter, two-part keys, are items where each part lies.
  const std::string standardRows =
      "(27..46/14) (192..8/14) (9..220/14) (20..13/13) (160..161/13) (162..163/7)";
  const std::string header = "Height=60\r\nWidth=100\r\n";
  const struct {
    std::string layout;  // a built-in one's name, or a layout's text
    bool wordsShown;
    Point origin;
    std::string shape;
  } rows[] = {
      {"Standard", false, {}, standardRows},
      {"Standard", true, {}, "(w0..w3/3) " + standardRows},
      {"Full",
       true,
       {},
       "(w0..w3/3) {" + standardRows +
           "} {(44..19/3) (45..33/3) (46..34/3) (38..38/1) (37..39/3)} "
           "{(144..109/4) (103..105/3) (100..107/4) (97..99/3) (96..13/3)}"},
      // Keys a pixel apart are one block; a key covered by an earlier one in
      // code order is no item there, as a click there types the earlier one.
      {header + KeyLine(65, 0, 0, 30, 30) + "\r\n" + KeyLine(66, 31, 0, 61, 30) + "\r\n" +
           KeyLine(67, 62, 0, 92, 30) + "\r\n" + KeyLine(68, 0, 30, 30, 60) + "\r\n" +
           KeyLine(69, 0, 30, 30, 60),
       false,
       {},
       "(65..67/3) (68..68/1)"},
      // Outlines at the ends of the coordinates, below the keys' area too.
      {header + KeyLine(65, -2147483647, 0, 2147483647, 30) + "\r\n" +
           KeyLine(66, 2147483600, 2147483600, 2147483647, 2147483647),
       false,
       {0, 20},
       "(65..65/1) (66..66/1)"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.shape);
    ASSERT_TRUE(r.layout.find('=') == std::string::npos
                    ? rig.keyboard->LoadLayout(r.layout)
                    : rig.keyboard->LoadLayoutText("Test", r.layout));
    rig.words.shown = r.wordsShown;
    EXPECT_EQ(Shape(BuildScanNodes({*rig.keyboard, r.origin, {&rig.words}})), r.shape);
  }
  rig.Run("start w10000");
  EXPECT_EQ(rig.log, "row0 row2147483600 row0 row2147483600 stopped");
}

// What the highlight steps through in time and what the picks type; the word
// row is the first row at the top.
TEST(ScanTest, TimelinesOfTheAutomaticAndTheStepScan) {
  const auto restartAtRow = [](Options& o) { o.scanRestart = ScanRestart::kSameRow; };
  const struct {
    const char* what;
    std::function<void(Options&)> choose;
    const char* script;
    const char* highlights;
    const char* typed;
  } rows[] = {
      {"rows one an interval; the first stays one and a half",
       [](Options& o) { o.scanTimeMs = 500; }, "start w749 | w1 | w499 | w1",
       "row-20 | row0 | | row30", ""},
      {"a pick goes into the row; its first key stays longer too", nullptr,
       "start w2500 p w1499 | w1 w1000", "row-20 row0 row30 192 | 49 50", ""},
      {"the back step returns to the rows, onto the row left", nullptr,
       "start w1500 p w14500 | p w1499 | w1",
       "row-20 row0 27 112 113 114 115 116 117 118 119 120 121 122 123 46 back | row0 | row30", ""},
      {"two rounds in a row without a pick go up to the rows", nullptr,
       "start w1500 p w30499 | w1 w1000",
       "row-20 row0 27 112 113 114 115 116 117 118 119 120 121 122 123 46 back 27 112 113 114 "
       "115 116 117 118 119 120 121 122 123 46 back | row0 row30",
       ""},
      {"two rounds at the top, then stopped until the switch", nullptr,
       "start w14499 | w1 w20000 | p w1500",
       "row-20 row0 row30 row60 row90 row120 row150 row-20 row0 row30 row60 row90 row120 "
       "row150 | stopped | row-20 row0",
       ""},
      {"a key is typed, then the top again", nullptr, "start w4500 p w1500 p",
       "row-20 row0 row30 row60 row90 20 65 row-20", "65 down, 65 up"},
      {"or the same row, the row of words though new words fill it", restartAtRow,
       "start p w1500 p w1500 w1000", "row-20 w0 w1 w0 w1 w2", "w1"},
      {"a press within the lockout is ignored, one at its end counts", nullptr,
       "start p w249 p w1 | p", "row-20 w0 | row-20", "w0"},
      {"a hold shorter than the acceptance does not count, a longer one picks what was "
       "highlighted at its down",
       [](Options& o) { o.scanAcceptMs = 300; }, "start h299 | w1101 h400", "row-20 | row0 w0", ""},
      {"step mode: nothing moves alone, one switch steps, the other picks",
       [](Options& o) { o.scanMode = ScanMode::kStep; }, "start w20000 | n n p w300 n w300 p",
       "row-20 | row0 row30 192 49 row-20", "49 down, 49 up"},
      {"a modifier latches, then types a capital; the top again each time", nullptr,
       "start w5500 p w300 p w4500 p w1500 p",
       "row-20 row0 row30 row60 row90 row120 160 row-20 row0 row30 row60 row90 20 65 row-20",
       "160 down, 65 down, 65 up, 160 up"},
      {"after the switch to the full keyboard: blocks, then their rows and keys", nullptr,
       "start w1500 full w1000 | w2500 p w1500 p w1500 p",
       "row-20 row0 row-20 | group0 group450 row0 row30 45 36 row-20", "36 down ext, 36 up ext"},
      {"the pad's Enter is sent extended, the main one plain where the pointer was on the pad's",
       nullptr, "full start w3500 p w4500 p w2500 p | @655,150 w1500 p w4000 p w13000 p",
       "row-20 group0 group450 group550 row30 row60 row60 row120 row120 96 110 13 row-20 | group0 "
       "row0 row30 row60 row90 20 65 83 68 70 71 72 74 75 76 186 222 13 row-20",
       "13 down ext, 13 up ext, 13 down, 13 up"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    ScanRig rig;
    rig.SetUp();
    Options options;
    if (r.choose) r.choose(options);
    rig.scanner->ApplyOptions(options);
    rig.Run(r.script);
    EXPECT_EQ(rig.log, r.highlights);
    EXPECT_EQ(rig.Typed(), r.typed);
    rig.scanner->Stop();
    EXPECT_EQ(rig.scanner->Highlight().kind, ScanHighlight::Kind::None);
    EXPECT_FALSE(rig.scanTimer.running) << "no timer runs once scanning is off";
  }
}

}  // namespace
}  // namespace luma::test
