// The settings store, the log and the process helpers against the real API:
// a throwaway registry key, a temporary folder for the settings file.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "process/DiagnosticLog.h"
#include "process/Switches.h"
#include "settings/Options.h"
#include "settings/Placement.h"
#include "settings/SettingsStore.h"
#include "win32/ErrorBox.h"
#include "win32/IniFileBackEnd.h"
#include "win32/LocalClock.h"
#include "win32/ProcessEnvironment.h"
#include "win32/RegistryBackEnd.h"

namespace luma::win32 {
namespace {

using Lines = std::vector<std::string>;

// "Click Sound" switched on, off and on again from the menu: each choice is
// what the next start reads, also the off that equals the default.
constexpr bool kClickSoundChoices[] = {true, false, true};

class RecordingErrors : public luma::ErrorReporter {
 public:
  Lines messages;
  void Report(const std::string& message) override { messages.push_back(message); }
};

std::string ReadFileBytes(const std::string& path) {
  return Win32FileSystem().ReadWhole(path).bytes;
}

class SettingsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    location_.keyPath = "SOFTWARE\\Halvorin\\LumatypeTest" + std::to_string(GetCurrentProcessId());
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, location_.keyPath.c_str()); }

  // Puts a value into the key behind the store's back, as a user could.
  void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, location_.keyPath.c_str(), 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }

  luma::SettingsLocation location_;
  Win32RegistryKey registry_;
  Win32ProfileFile profile_;
  RecordingErrors errors_;
};

TEST_F(SettingsRegistryTest, ValuesAreDwordsAndOtherTypesAreReported) {
  SettingsStore store(registry_, profile_, errors_, location_);
  EXPECT_EQ(store.RegistryAccess(), kKeyAllAccess);
  EXPECT_EQ(store.ReadInteger("Colors", 1), 1);
  EXPECT_TRUE(store.WriteInteger("TMainFormLeft", -8));
  EXPECT_TRUE(store.WriteBool("AutoClick", false));
  EXPECT_EQ(store.ReadInteger("TMainFormLeft", 0), -8);
  EXPECT_FALSE(store.ReadBool("AutoClick", true));

  DWORD type = 0, value = 0, size = sizeof value;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, location_.keyPath.c_str(), "TMainFormLeft", RRF_RT_ANY,
                         &type, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(value, 0xFFFFFFF8u);

  SetRaw("TMainFormTop", REG_SZ, "12", 3);
  SetRaw("TMainFormWidth", REG_SZ, "1234", 5);
  EXPECT_EQ(store.ReadInteger("TMainFormTop", 7), 7);
  EXPECT_EQ(store.ReadInteger("TMainFormWidth", 9), 9);
  EXPECT_EQ(errors_.messages, (Lines{"Invalid data type for 'TMainFormTop'",
                                     "Failed to get data for 'TMainFormWidth'"}));
  // The exit writes a number over the string.
  EXPECT_TRUE(store.WriteInteger("TMainFormTop", 5));
  EXPECT_EQ(store.ReadInteger("TMainFormTop", 7), 5);
}

TEST_F(SettingsRegistryTest, KeyOpenedForReadingRefusesWritesAndNoKeyReadsNothing) {
  { SettingsStore created(registry_, profile_, errors_, location_); }
  ASSERT_TRUE(registry_.Open(RegistryRoot::kCurrentUser, location_.keyPath, kKeyQueryValue));
  EXPECT_FALSE(registry_.SetDword("Colors", 2));
  registry_.Close();

  luma::SettingsLocation nowhere = location_;
  nowhere.keyPath += "\\missing";
  EXPECT_FALSE(registry_.Open(RegistryRoot::kCurrentUser, nowhere.keyPath, kKeyRead));
  EXPECT_FALSE(registry_.Query("Colors").has_value());
  EXPECT_FALSE(registry_.SetDword("Colors", 2));
}

TEST_F(SettingsRegistryTest, ClickSoundIsADwordTheNextStartReads) {
  for (const bool on : kClickSoundChoices) {
    {
      SettingsStore store(registry_, profile_, errors_, location_);
      EXPECT_TRUE(store.WriteBool(kClickSoundValue, on));
    }
    DWORD type = 0, value = 7, size = sizeof value;
    ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, location_.keyPath.c_str(), kClickSoundValue,
                           RRF_RT_ANY, &type, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, on ? 1u : 0u);
    SettingsStore next(registry_, profile_, errors_, location_);
    EXPECT_EQ(next.ReadBool(kClickSoundValue, !on), on);
  }
  EXPECT_TRUE(errors_.messages.empty());
}

class SettingsIniTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir_ = std::string(temp) + "lumatype-settings-" + std::to_string(GetCurrentProcessId()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
    ASSERT_TRUE(CreateDirectoryA(dir_.c_str(), nullptr));
    ini_ = dir_ + kIniFileName;
    location_.keyPath = "SOFTWARE\\Halvorin\\LumatypeTest" + std::to_string(GetCurrentProcessId());
  }
  void TearDown() override {
    DeleteFileA(ini_.c_str());
    RemoveDirectoryA(ini_.c_str());
    DeleteFileA((dir_ + kLogFileName).c_str());
    RemoveDirectoryA(dir_.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, location_.keyPath.c_str());
  }

  std::string dir_, ini_;
  luma::SettingsLocation location_;
  Win32RegistryKey registry_;
  Win32ProfileFile profile_;
  Win32FileSystem files_;
  RecordingErrors errors_;
};

TEST_F(SettingsIniTest, FirstRunCreatesTheFileAndTheExitWritesInOrder) {
  {
    SettingsStore store(registry_, profile_, errors_, location_);
    ASSERT_TRUE(store.BindIniFile(dir_, files_));
    EXPECT_EQ(ReadFileBytes(ini_), "");
    EXPECT_TRUE(store.WriteBool("Site", true));
    EXPECT_EQ(ReadFileBytes(ini_), "[Main]\r\nSite=1\r\n");
    store.WriteBool("AutoClick", true);
    store.WriteInteger("AlphaBlend", 255);
    PlacementWindow window;
    window.left = -4;
    window.top = 300;
    window.width = 800;
    window.height = 280;
    EXPECT_TRUE(SavePlacement(store, window));
  }
  EXPECT_EQ(ReadFileBytes(ini_),
            "[Main]\r\nSite=1\r\nAutoClick=1\r\nAlphaBlend=255\r\nTMainFormTop=300\r\n"
            "TMainFormLeft=-4\r\nTMainFormHeight=280\r\nTMainFormWidth=800\r\n"
            "TMainFormState=0\r\n");
  EXPECT_TRUE(errors_.messages.empty());
}

TEST_F(SettingsIniTest, ClickSoundIsALineTheNextStartReads) {
  for (const bool on : kClickSoundChoices) {
    {
      SettingsStore store(registry_, profile_, errors_, location_);
      ASSERT_TRUE(store.BindIniFile(dir_, files_));
      EXPECT_TRUE(store.WriteBool(kClickSoundValue, on));
    }
    const std::string bytes = ReadFileBytes(ini_);
    EXPECT_NE(bytes.find(std::string("\r\nClickSound=") + (on ? "1" : "0") + "\r\n"),
              std::string::npos)
        << bytes;
    EXPECT_EQ(bytes.find("ClickSound="), bytes.rfind("ClickSound=")) << "one line";
    SettingsStore next(registry_, profile_, errors_, location_);
    ASSERT_TRUE(next.BindIniFile(dir_, files_));
    EXPECT_EQ(next.ReadBool(kClickSoundValue, !on), on);
  }
  EXPECT_TRUE(errors_.messages.empty());
}

TEST_F(SettingsIniTest, HandEditedFileKeepsEveryLineItDoesNotOwn) {
  const std::string longLine(5000, 'z');
  files_.WriteWhole(ini_, "; mine\n[Main]\rColors=0x3\nAlphaBlend=abc\nAutoClick=5\n" + longLine +
                              "\n[Other]\r\nColors=6");
  {
    SettingsStore store(registry_, profile_, errors_, location_);
    ASSERT_TRUE(store.BindIniFile(dir_, files_));
    EXPECT_EQ(store.ReadInteger("Colors", 1), 3);
    EXPECT_EQ(store.ReadInteger("AlphaBlend", 255), 255);
    EXPECT_TRUE(store.ReadBool("AutoClick", false));
    store.WriteInteger("AlphaBlend", 200);
  }
  const std::string after = ReadFileBytes(ini_);
  EXPECT_NE(after.find("; mine\r\n"), std::string::npos) << after.substr(0, 200);
  EXPECT_NE(after.find(longLine), std::string::npos);
  EXPECT_NE(after.find("[Other]\r\nColors=6"), std::string::npos);
  EXPECT_NE(after.find("AlphaBlend=200\r\n"), std::string::npos);
  EXPECT_EQ(after.find('\n' + std::string("AlphaBlend=abc")), std::string::npos);
}

TEST_F(SettingsIniTest, WhatCannotBeReadWholeOrWrittenStaysOnTheRegistryUntouched) {
  const std::string utf16("\xFF\xFE[\0M\0a\0i\0n\0]\0\n\0", 16);
  ASSERT_TRUE(files_.WriteWhole(ini_, utf16));
  {
    SettingsStore store(registry_, profile_, errors_, location_);
    EXPECT_FALSE(store.BindIniFile(dir_, files_));
    EXPECT_TRUE(store.WriteInteger("Colors", 4));
  }
  EXPECT_EQ(ReadFileBytes(ini_), utf16);
  ASSERT_TRUE(DeleteFileA(ini_.c_str()));

  // A folder of the file's name makes every write fail, also for root.
  ASSERT_TRUE(CreateDirectoryA(ini_.c_str(), nullptr));
  SettingsStore store(registry_, profile_, errors_, location_);
  EXPECT_FALSE(store.BindIniFile(dir_, files_));
  EXPECT_EQ(store.ReadInteger("Colors", 1), 4);  // from the registry
  EXPECT_TRUE(errors_.messages.empty());
}

TEST_F(SettingsIniTest, RefusedWriteToABoundFileIsReported) {
  SettingsStore store(registry_, profile_, errors_, location_);
  ASSERT_TRUE(store.BindIniFile(dir_, files_));
  ASSERT_TRUE(DeleteFileA(ini_.c_str()));
  ASSERT_TRUE(CreateDirectoryA(ini_.c_str(), nullptr));
  EXPECT_FALSE(store.WriteInteger("Colors", 2));
  EXPECT_EQ(errors_.messages, (Lines{"Unable to write to " + ini_}));
}

TEST_F(SettingsIniTest, LogHoldsOneLinePerEntryNextToTheProgram) {
  Win32LocalClock clock;
  DiagnosticLog log(true, dir_, files_, clock);
  ASSERT_TRUE(log.Write("MainForm"));
  const std::string text = ReadFileBytes(dir_ + kLogFileName);
  EXPECT_TRUE(text.ends_with(" : MainForm\r\n")) << text;
  EXPECT_EQ(text.find("\r\n"), text.size() - 2);

  const std::string date = clock.ShortDate({2026, 12, 7, 16, 5, 31, 0});
  const std::string time = clock.LongTime({2026, 12, 7, 16, 5, 31, 0});
  EXPECT_NE(date.find("26"), std::string::npos) << date;
  EXPECT_NE(time.find("05"), std::string::npos) << time;
  EXPECT_NE(time.find("31"), std::string::npos) << time;
}

TEST(SettingsProcessTest, ProgramFolderAndParameters) {
  const std::string dir = ProgramDirOf(ProgramPath());
  EXPECT_TRUE(dir.ends_with("\\")) << dir;
  EXPECT_EQ(GetFileAttributesA((dir + "win32_tests.exe").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(CommandLineParameters(L"\"C:\\a b\\lumatype.exe\" /DEBUG \"-common x\" -debug"),
            (Lines{"/DEBUG", "-common x", "-debug"}));
  EXPECT_TRUE(CommandLineParameters(L"lumatype.exe").empty());
}

struct ErrorBox {
  std::string caption, text;
  bool errorIcon = false;
};

// The first dialog box of the thread: what it shows, then OK.
BOOL CALLBACK CloseErrorBox(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770") return TRUE;
  auto& box = *reinterpret_cast<std::optional<ErrorBox>*>(found);
  box.emplace();
  char buffer[256] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  box->caption = buffer;
  GetDlgItemTextA(window, 0xFFFF, buffer, sizeof buffer);  // the message's static control
  box->text = buffer;
  const HWND icon = GetDlgItem(window, 0x0440);
  box->errorIcon = icon && reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0)) ==
                               LoadIconW(nullptr, IDI_ERROR);
  PostMessageW(window, WM_COMMAND, IDOK, 0);
  return FALSE;
}

TEST(SettingsErrorReportTest, BoxCaptionedLumatypeWithTheFullStopRule) {
  const DWORD thread = GetCurrentThreadId();
  std::optional<ErrorBox> box;
  std::atomic<bool> reported{false};
  std::thread closer([&] {
    for (int i = 0; i < 500 && !box && !reported; ++i) {
      Sleep(20);
      EnumThreadWindows(thread, CloseErrorBox, reinterpret_cast<LPARAM>(&box));
    }
  });
  MessageBoxErrorReporter reporter;
  reporter.Report("Unable to write to C:\\Lumtyp.ini");
  reported = true;
  closer.join();
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->caption, "Lumatype");
  EXPECT_EQ(box->text, "Unable to write to C:\\Lumtyp.ini.");
  EXPECT_TRUE(box->errorIcon);
}

}  // namespace
}  // namespace luma::win32
