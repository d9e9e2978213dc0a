// The settings store over fakes of the registry, the profile functions and
// whole files: both back ends, the number rule, the registry's access
// fallbacks and type errors, the binding of the settings file, the flush.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "SettingsFakes.h"
#include "settings/IniText.h"
#include "settings/SettingsStore.h"

namespace luma {
namespace {

using fakes::CallLog;
using Lines = std::vector<std::string>;

constexpr const char* kDir = "C:\\Tools\\";
constexpr const char* kIni = "C:\\Tools\\Lumtyp.ini";

struct SettingsFixture : ::testing::Test {
  CallLog log;
  fakes::FakeRegistry registry{log};
  fakes::FakeProfile profile{log};
  fakes::FakeFiles files{log};
  fakes::RecordingErrors errors;
};

TEST(IniNumberTest, OnlyWholeNumbersInRangeAreNumbers) {
  const struct {
    const char* text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"", std::nullopt},
      {"12 ", std::nullopt},
      {"1e3", std::nullopt},
      {"- 5", std::nullopt},
      {"0x", std::nullopt},
      {"$", std::nullopt},
      {"+", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"0x80000000", std::nullopt},
      {"-0x80000000", std::nullopt},
      {"0xFFFFFFFF", std::nullopt},
      {"0x-10", std::nullopt},
      {"1,5", std::nullopt},
      {"abc", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {" +7", 7},
      {"\t42", 42},
      {"-0x10", -16},
      {"$1F", 31},
      {"X1F", 31},
      {"x1f", 31},
      {"0X7fffffff", INT_MAX},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"007", 7},
      {"-0", 0},
      {"0x3", 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseIniInteger(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(IniTextTest, LineEndsBecomeCrLfAndSingleByteTextIsRecognised) {
  EXPECT_EQ(WithCrLfLineEnds("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(WithCrLfLineEnds("a\n\n"), "a\r\n\r\n");
  EXPECT_EQ(WithCrLfLineEnds("\r\r\n"), "\r\n\r\n");
  EXPECT_EQ(WithCrLfLineEnds(""), "");
  EXPECT_TRUE(HasCrLfLineEnds(""));
  EXPECT_TRUE(HasCrLfLineEnds("[Main]\r\nSite=1\r\n"));
  EXPECT_FALSE(HasCrLfLineEnds("[Main]\r\nSite=1"));
  EXPECT_FALSE(HasCrLfLineEnds("[Main]\nSite=1\r\n"));
  EXPECT_FALSE(HasCrLfLineEnds("[Main]\r\r\n"));
  EXPECT_TRUE(IsSingleByteText("[Main]\xE9\r\n"));
  EXPECT_FALSE(IsSingleByteText(std::string("\xFF\xFE[\0M\0", 6)));
  EXPECT_FALSE(IsSingleByteText(std::string("[\0M\0", 4)));
}

TEST_F(SettingsFixture, KeyIsCreatedWithFullRightsOrOpenedWithTheFirstRightsGranted) {
  SettingsStore store(registry, profile, errors, {RegistryRoot::kLocalMachine});
  EXPECT_EQ(store.RegistryAccess(), kKeyAllAccess);
  EXPECT_EQ(log, (Lines{"create HKLM\\SOFTWARE\\Halvorin\\Plumtap 0xf003f"}));

  const struct {
    std::set<std::uint32_t> granted;
    std::uint32_t access;
    std::size_t attempts;
  } cases[] = {
      {{kKeyRead, kKeyQueryValue}, kKeyRead, 2},
      {{kKeyReadValues, kKeyQueryValue}, kKeyReadValues, 3},
      {{kKeyQueryValue}, kKeyQueryValue, 4},
      {{}, kKeyAllAccess, 4},  // no key at all
  };
  for (const auto& c : cases) {
    log.clear();
    registry.createAllowed = false;
    registry.openAllowed = c.granted;
    SettingsStore fallback(registry, profile, errors);
    EXPECT_EQ(fallback.RegistryAccess(), c.access);
    EXPECT_EQ(log.size(), c.attempts);
  }
  EXPECT_EQ(log, (Lines{"create HKCU\\SOFTWARE\\Halvorin\\Plumtap 0xf003f",
                        "open HKCU\\SOFTWARE\\Halvorin\\Plumtap 0x20019",
                        "open HKCU\\SOFTWARE\\Halvorin\\Plumtap 0x20009",
                        "open HKCU\\SOFTWARE\\Halvorin\\Plumtap 0x1", "close"}));
}

TEST_F(SettingsFixture, RegistryModeRoundTripsDwordsAndBooleans) {
  SettingsStore store(registry, profile, errors);
  EXPECT_EQ(store.ReadInteger("Colors", 1), 1);
  EXPECT_TRUE(store.ReadBool("AutoClick", true));
  EXPECT_TRUE(store.WriteInteger("TMainFormLeft", -8));
  EXPECT_TRUE(store.WriteBool("AutoClick", false));
  EXPECT_EQ(store.ReadInteger("TMainFormLeft", 0), -8);
  EXPECT_FALSE(store.ReadBool("AutoClick", true));
  registry.values["Site"] = fakes::FakeRegistry::Dword(5);
  EXPECT_TRUE(store.ReadBool("Site", false));
  EXPECT_EQ(registry.values["AutoClick"].bytes, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_TRUE(errors.messages.empty());
}

TEST_F(SettingsFixture, ReadOnlyKeySkipsWritesSilentlyWhileLesserRightsAndNoKeyReportThem) {
  registry.createAllowed = false;
  registry.setAllowed = false;
  registry.openAllowed = {kKeyRead};
  registry.values["Colors"] = fakes::FakeRegistry::Dword(4);
  {
    SettingsStore store(registry, profile, errors);
    EXPECT_TRUE(store.WriteInteger("Colors", 5));
    EXPECT_EQ(store.ReadInteger("Colors", 1), 4);
    EXPECT_TRUE(errors.messages.empty());
  }
  registry.openAllowed = {kKeyQueryValue};
  {
    SettingsStore store(registry, profile, errors);
    EXPECT_FALSE(store.WriteInteger("Colors", 5));
  }
  registry.openAllowed = {};
  {
    SettingsStore store(registry, profile, errors);
    EXPECT_EQ(store.ReadInteger("Colors", 1), 1);
    EXPECT_FALSE(store.WriteBool("Site", true));
  }
  EXPECT_EQ(errors.messages,
            (Lines{"Failed to set data for 'Colors'", "Failed to set data for 'Site'"}));
}

TEST_F(SettingsFixture, ValuesOfAnotherTypeAreReportedAndGiveTheDefault) {
  SettingsStore store(registry, profile, errors);
  registry.values["TMainFormTop"] = fakes::FakeRegistry::Text("12");     // 3 bytes
  registry.values["TMainFormLeft"] = fakes::FakeRegistry::Text("1234");  // 5 bytes
  registry.values["Colors"] = {5, {0, 0, 0, 3}};                         // big-endian DWORD
  registry.values["AlphaBlend"] = {3, {1, 2, 3, 4, 5, 6, 7, 8}};         // REG_BINARY
  EXPECT_EQ(store.ReadInteger("TMainFormTop", 7), 7);
  EXPECT_EQ(store.ReadInteger("TMainFormLeft", 8), 8);
  EXPECT_EQ(store.ReadInteger("Colors", 1), 1);
  EXPECT_EQ(store.ReadInteger("AlphaBlend", 255), 255);
  EXPECT_EQ(errors.messages,
            (Lines{"Invalid data type for 'TMainFormTop'", "Failed to get data for 'TMainFormLeft'",
                   "Invalid data type for 'Colors'", "Failed to get data for 'AlphaBlend'"}));
}

TEST_F(SettingsFixture, BoundFileTakesEveryValueAndTheRegistryNoneAnyMore) {
  SettingsStore store(registry, profile, errors);
  ASSERT_TRUE(store.BindIniFile(kDir, files));
  EXPECT_EQ(store.IniPath(), kIni);
  EXPECT_EQ(files.files[kIni], "");  // created empty
  EXPECT_TRUE(store.WriteBool("Site", true));
  EXPECT_TRUE(store.WriteInteger("AlphaBlend", -300));
  EXPECT_TRUE(store.WriteBool("AutoClick", false));
  EXPECT_EQ(store.ReadInteger("AlphaBlend", 255), -300);
  EXPECT_FALSE(store.ReadBool("AutoClick", true));
  EXPECT_TRUE(registry.values.empty());

  // Hand-edited text follows the number rule.
  profile.Write(kIni, "Main", "Colors", "0x3");
  EXPECT_EQ(store.ReadInteger("Colors", 1), 3);
  profile.Write(kIni, "Main", "AlphaBlend", "abc");
  EXPECT_EQ(store.ReadInteger("AlphaBlend", 255), 255);
  profile.Write(kIni, "Main", "AutoClick", "5");
  EXPECT_TRUE(store.ReadBool("AutoClick", false));
  profile.Write(kIni, "Main", "AutoClick", "yes");
  EXPECT_FALSE(store.ReadBool("AutoClick", false));

  profile.writable = false;
  EXPECT_FALSE(store.WriteInteger("Colors", 2));
  EXPECT_EQ(errors.messages, (Lines{"Unable to write to C:\\Tools\\Lumtyp.ini"}));
}

TEST_F(SettingsFixture, BindingRewritesOnlyWhatItReadWholeAsSingleByteText) {
  const std::string utf16("\xFF\xFE[\0M\0a\0i\0n\0]\0\n\0", 16);
  const struct {
    const char* name;
    std::optional<std::string> content;  // none: missing
    bool unreadable, unwritable;
    bool bound;
    std::optional<std::string> after;  // none: missing
    bool written;
  } cases[] = {
      {"missing", std::nullopt, false, false, true, "", true},
      {"missing, folder read-only", std::nullopt, false, true, false, std::nullopt, false},
      {"LF ends", "[Main]\nSite=1\nx", false, false, true, "[Main]\r\nSite=1\r\nx\r\n", true},
      {"CR LF already", "[Main]\r\nSite=1\r\n", false, false, true, "[Main]\r\nSite=1\r\n", false},
      {"CR LF, read-only", "[Main]\r\n", false, true, false, "[Main]\r\n", false},
      {"LF, read-only", "[Main]\n", false, true, false, "[Main]\n", false},
      {"unreadable", "[Main]\n", true, false, false, "[Main]\n", false},
      {"UTF-16", utf16, false, false, false, utf16, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    log.clear();
    files.files.clear();
    files.unreadable.clear();
    files.unwritable.clear();
    if (c.content) files.files[kIni] = *c.content;
    if (c.unreadable) files.unreadable.insert(kIni);
    if (c.unwritable) files.unwritable.insert(kIni);
    SettingsStore store(registry, profile, errors);
    EXPECT_EQ(store.BindIniFile(kDir, files), c.bound);
    EXPECT_EQ(store.UsesIniFile(), c.bound);
    EXPECT_EQ(files.files.contains(kIni) ? std::optional(files.files[kIni]) : std::nullopt,
              c.after);
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("write ") + kIni), c.written);
  }
  EXPECT_TRUE(errors.messages.empty());
}

TEST_F(SettingsFixture, BindsOnceAndFlushesTheFileAfterTheLastWrite) {
  {
    SettingsStore store(registry, profile, errors);
    ASSERT_TRUE(store.BindIniFile(kDir, files));
    files.files[kIni] = "[Main]\nSite=1";
    EXPECT_TRUE(store.BindIniFile("D:\\Other\\", files));
    EXPECT_EQ(store.IniPath(), kIni);
    EXPECT_EQ(files.files[kIni], "[Main]\nSite=1");  // not read or rewritten again
    store.WriteInteger("TMainFormState", 0);
    store.Finish();  // an exit at log-off: the destruction after it adds nothing
  }
  EXPECT_EQ(log,
            (Lines{"create HKCU\\SOFTWARE\\Halvorin\\Plumtap 0xf003f", std::string("write ") + kIni,
                   "ini TMainFormState=0", "close", std::string("flush ") + kIni}));
}

}  // namespace
}  // namespace luma
