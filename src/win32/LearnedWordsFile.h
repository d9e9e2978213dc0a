// The learned words as "Lumatype.words": beside the program when a file can
// be written there, as the settings file is, so that the folder carries them;
// else in the user's local application data, in a folder "Lumatype" made at
// the first write.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/LearnedWordsStorage.h"

namespace luma::win32 {

inline constexpr wchar_t kLearnedWordsFileName[] = L"Lumatype.words";

class LearnedWordsFile final : public luma::LearnedWordsStorage {
 public:
  // Both folders end in a backslash. An empty localAppData is the user's own,
  // asked of the system only when the program's folder cannot be written.
  explicit LearnedWordsFile(std::wstring programFolder, std::wstring localAppData = {});

  const std::wstring& Path() const { return path_; }

  luma::FileContent Read() override;
  bool Write(std::string_view text) override;
  bool Delete() override;

 private:
  std::wstring path_;
  bool keepUntouched_ = false;  // found but unreadable: never overwritten
};

}  // namespace luma::win32
