// Switches, the program's folder, the log and the error report's text.
#include <gtest/gtest.h>

#include "SettingsFakes.h"
#include "process/DiagnosticLog.h"
#include "process/ErrorReport.h"
#include "process/Switches.h"

namespace luma {
namespace {

TEST(SwitchTest, SlashOrDashAndTheExactNameInAnyCase) {
  const struct {
    std::vector<std::string> parameters;
    bool found;
  } cases[] = {
      {{"/DEBUG"}, true}, {{"-debug"}, true},   {{"/Debug"}, true},   {{"x", "-DeBuG"}, true},
      {{"DEBUG"}, false}, {{"/DEBUG2"}, false}, {{"--debug"}, false}, {{"/"}, false},
      {{""}, false},      {{}, false},          {{"/ DEBUG"}, false}, {{"/DEBU"}, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HasSwitch(c.parameters, "DEBUG"), c.found)
        << (c.parameters.empty() ? "(none)" : c.parameters.back());
  }
  EXPECT_TRUE(HasSwitch({"-common"}, "COMMON"));
  EXPECT_TRUE(HasSwitch({"/Common"}, "COMMON"));
  EXPECT_FALSE(HasSwitch({"/COMMONS"}, "COMMON"));
  EXPECT_FALSE(HasSwitch({"COMMON"}, "COMMON"));
}

TEST(ProgramDirTest, UpToAndWithTheLastBackslash) {
  EXPECT_EQ(ProgramDirOf("C:\\Tools\\kb.exe"), "C:\\Tools\\");
  EXPECT_EQ(ProgramDirOf("\\\\server\\share\\a b\\lumatype.exe"), "\\\\server\\share\\a b\\");
  EXPECT_EQ(ProgramDirOf("lumatype.exe"), "");
}

TEST(LogTest, EntryIsDateTimeAndMessageWithoutTheTimeAtMidnight) {
  fakes::FakeClock clock;
  EXPECT_EQ(LogEntry(clock, {2026, 12, 7, 16, 5, 31, 0}, "MainForm"),
            "12/7/2026 4:05:31 PM : MainForm");
  EXPECT_EQ(LogEntry(clock, {2026, 12, 7, 0, 0, 0, 0}, "MainForm"), "12/7/2026 : MainForm");
  EXPECT_EQ(LogEntry(clock, {2026, 12, 7, 0, 0, 0, 1}, "x"), "12/7/2026 12:00:00 AM : x");
  EXPECT_EQ(LogEntry(clock, {2026, 12, 7, 0, 0, 1, 0}, ""), "12/7/2026 12:00:01 AM : ");
}

TEST(LogTest, WritesTheWholeFileWithEveryEntryOnlyWhenEnabled) {
  fakes::CallLog calls;
  fakes::FakeFiles files(calls);
  fakes::FakeClock clock;
  const std::string path = "C:\\Tools\\Log.txt";
  files.files[path] = "old run\r\n";

  DiagnosticLog off(false, "C:\\Tools\\", files, clock);
  EXPECT_TRUE(off.Write("MainForm"));
  EXPECT_EQ(files.files[path], "old run\r\n");
  EXPECT_TRUE(calls.empty());

  DiagnosticLog on(true, "C:\\Tools\\", files, clock);
  EXPECT_TRUE(on.Write("MainForm"));
  EXPECT_EQ(files.files[path], "12/7/2026 4:05:31 PM : MainForm\r\n");
  clock.now = {2026, 12, 8, 0, 0, 0, 0};
  EXPECT_TRUE(on.Write("again"));
  EXPECT_EQ(files.files[path], "12/7/2026 4:05:31 PM : MainForm\r\n12/8/2026 : again\r\n");

  files.unwritable.insert(path);
  EXPECT_FALSE(on.Write("lost"));
  EXPECT_EQ(on.Entries().size(), 3u);
}

TEST(ErrorReportTest, FullStopOnlyAfterCharactersThatComeAfterIt) {
  const struct {
    const char* message;
    const char* text;
  } cases[] = {
      {"Invalid data type for 'TMainFormTop'", "Invalid data type for 'TMainFormTop'"},
      {"Unable to write to C:\\Lumtyp.ini", "Unable to write to C:\\Lumtyp.ini."},
      {"Done.", "Done."},
      {"Quote\"", "Quote\""},
      {"(paren)", "(paren)"},
      {"Digit 7", "Digit 7."},
      {"Slash/", "Slash/."},
      {"Comma,", "Comma,"},
      {"Colon:", "Colon:."},
      {"Accent \xE9", "Accent \xE9."},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorReportText(c.message), c.text) << c.message;
  EXPECT_STREQ(kErrorReportCaption, "Lumatype");
}

}  // namespace
}  // namespace luma
