// The learned-words file in throwaway folders standing for the program's
// and the user's local application data: where it goes, the round trip, a
// missing file, and a file that cannot be read, which is never overwritten.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/Handles.h"
#include "win32/LearnedWordsFile.h"

namespace luma::win32 {
namespace {

using Status = luma::FileContent::Status;

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class LearnedWordsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    root_ =
        std::wstring(temp) + L"lumatype-words-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    program_ = root_ + L"program\\";
    appData_ = root_ + L"appdata\\";
    Fresh();
  }
  void TearDown() override { Remove(); }

  // All the tests make, and the folder itself.
  void Remove() {
    for (const std::wstring& file :
         {program_ + kLearnedWordsFileName, appData_ + L"Lumatype\\" + kLearnedWordsFileName})
      DeleteFileW(file.c_str());
    for (const std::wstring& folder :
         {program_ + kLearnedWordsFileName, appData_ + L"Lumatype", program_, appData_, root_})
      RemoveDirectoryW(folder.c_str());
  }

  void Fresh() {
    Remove();
    for (const std::wstring* folder : {&root_, &program_, &appData_})
      ASSERT_TRUE(CreateDirectoryW(folder->c_str(), nullptr));
  }

  std::wstring root_, program_, appData_;
};

TEST_F(LearnedWordsFileTest, BesideTheProgramWhereAFileCanBeWrittenElseInLocalAppData) {
  const struct {
    const char* name;
    bool folderInTheFilesPlace;  // nothing can be written there, also for root
    bool removeProgramFolder;
    bool inProgramFolder;
  } rows[] = {
      {"a folder that can be written", false, false, true},
      {"a folder in the file's place", true, false, false},
      {"a program folder that is gone", false, true, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Fresh();
    if (r.folderInTheFilesPlace) CreateDirectoryW((program_ + L"Lumatype.words").c_str(), nullptr);
    if (r.removeProgramFolder) RemoveDirectoryW(program_.c_str());

    LearnedWordsFile file(program_, appData_);
    EXPECT_EQ(file.Path(),
              (r.inProgramFolder ? program_ : appData_ + L"Lumatype\\") + L"Lumatype.words");
    EXPECT_EQ(file.Read().status, Status::kMissing);
    // Its own folder in the application data comes with the first write.
    EXPECT_FALSE(Exists(appData_ + L"Lumatype"));
    EXPECT_TRUE(file.Write("en\nhello 2\n"));
    EXPECT_EQ(LearnedWordsFile(program_, appData_).Read().bytes, "en\nhello 2\n");
    EXPECT_FALSE(Exists(file.Path() + L".tmp"));
  }
}

TEST_F(LearnedWordsFileTest, WhatIsWrittenIsReadWholeAndReplacesAllThatWasThere) {
  std::string large;
  for (int i = 0; large.size() < 3'000'000; ++i) large += "word" + std::to_string(i) + " 1\n";
  const std::vector<std::string> texts = {
      large,
      "de\nStra\u00dfe 2\r\n",  // UTF-8, any line ends
      std::string("a\0b", 3),
      "",
      "x",  // shorter than all before it: nothing of them is left
  };
  LearnedWordsFile file(program_, appData_);
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.size());
    ASSERT_TRUE(file.Write(text));
    const luma::FileContent read = LearnedWordsFile(program_, appData_).Read();
    EXPECT_EQ(read.status, Status::kRead);
    EXPECT_TRUE(read.bytes == text);
  }
  EXPECT_TRUE(file.Delete());
  EXPECT_EQ(file.Read().status, Status::kMissing);
  EXPECT_TRUE(file.Delete()) << "nothing left to forget";
}

// A file that exists but cannot be read (another program holds it) is the
// user's all the same: not overwritten in this run, even once it could be.
TEST_F(LearnedWordsFileTest, AFileThatCannotBeReadIsLeftAsItIs) {
  const std::wstring path = program_ + L"Lumatype.words";
  LearnedWordsFile file(program_, appData_);
  ASSERT_TRUE(file.Write("en\nmine 9\n"));
  {
    File held(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(file.Read().status, Status::kFailed);
  }
  EXPECT_FALSE(file.Write("en\nnew 1\n"));
  EXPECT_EQ(LearnedWordsFile(program_, appData_).Read().bytes, "en\nmine 9\n");

  // Forgetting is the user's own wish: then learning may be kept again.
  EXPECT_TRUE(file.Delete());
  EXPECT_TRUE(file.Write("en\nnew 1\n"));
  EXPECT_EQ(LearnedWordsFile(program_, appData_).Read().bytes, "en\nnew 1\n");
}

}  // namespace
}  // namespace luma::win32
