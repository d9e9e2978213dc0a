#include "win32/LearnedWordsFile.h"

#include <shlobj.h>

#include <algorithm>
#include <utility>

#include "win32/Handles.h"
#include "win32/ProcAddress.h"

namespace luma::win32 {
namespace {

// Ten languages of words and pairs stay far below this; a larger file is
// not one this program wrote, and is left alone.
constexpr LONGLONG kMaxFileSize = 64LL * 1024 * 1024;

constexpr wchar_t kOwnFolder[] = L"Lumatype\\";
constexpr wchar_t kTemporarySuffix[] = L".tmp";

bool IsMissing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// A file can be made in the folder, and the words' own name there is free
// or a file that opens for writing. The trial file goes away when closed.
bool CanKeepWordsIn(const std::wstring& folder) {
  const std::wstring path = folder + kLearnedWordsFileName;
  File trial(CreateFileW((path + kTemporarySuffix).c_str(), GENERIC_WRITE, 0, nullptr,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                         nullptr));
  if (!trial) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return IsMissing(GetLastError());
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  File existing(CreateFileW(path.c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(existing);
}

std::wstring WithBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

// shell32 is loaded only here, when the program's folder cannot be written:
// at every start it would cost more than the window's whole creation.
std::wstring UsersLocalAppData() {
  using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  static const HMODULE shell = LoadLibraryW(L"shell32.dll");
  const auto getFolderPath = ProcAddress<GetFolderPathFn>(shell, "SHGetFolderPathW");
  wchar_t folder[MAX_PATH] = {};
  if (getFolderPath && SUCCEEDED(getFolderPath(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE,
                                               nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return WithBackslash(folder);
  }
  const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? WithBackslash(folder) : std::wstring();
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

LearnedWordsFile::LearnedWordsFile(std::wstring programFolder, std::wstring localAppData) {
  programFolder = WithBackslash(std::move(programFolder));
  if (CanKeepWordsIn(programFolder)) {
    path_ = programFolder + kLearnedWordsFileName;
    return;
  }
  localAppData = localAppData.empty() ? UsersLocalAppData() : WithBackslash(localAppData);
  // Without either, the program's folder: writes fail there, learning
  // stays in memory, and nothing else is touched.
  path_ =
      (localAppData.empty() ? programFolder : localAppData + kOwnFolder) + kLearnedWordsFileName;
}

luma::FileContent LearnedWordsFile::Read() {
  using Status = luma::FileContent::Status;
  File file(CreateFileW(path_.c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file && IsMissing(GetLastError())) return {Status::kMissing, {}};
  LARGE_INTEGER size{};
  luma::FileContent content{Status::kFailed, {}};
  if (file && GetFileSizeEx(file.Get(), &size) && size.QuadPart <= kMaxFileSize) {
    content.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    DWORD read = 1;
    while (done < content.bytes.size() && read != 0 &&
           ReadFile(file.Get(), content.bytes.data() + done,
                    static_cast<DWORD>(content.bytes.size() - done), &read, nullptr)) {
      done += read;
    }
    if (done == content.bytes.size()) content.status = Status::kRead;
  }
  if (content.status == Status::kFailed) {
    content.bytes.clear();
    keepUntouched_ = true;
  }
  return content;
}

bool LearnedWordsFile::Write(std::string_view text) {
  if (keepUntouched_) return false;
  const std::size_t slash = path_.rfind(L'\\');
  if (slash != std::wstring::npos) CreateDirectoryW(path_.substr(0, slash).c_str(), nullptr);
  const std::wstring temporary = path_ + kTemporarySuffix;
  bool written = false;
  {
    File file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
    written = file && WriteAll(file.Get(), text) && FlushFileBuffers(file.Get());
  }
  // The rename is the one step that puts the new text in place.
  if (written && MoveFileExW(temporary.c_str(), path_.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}

bool LearnedWordsFile::Delete() {
  DeleteFileW((path_ + kTemporarySuffix).c_str());
  if (!DeleteFileW(path_.c_str()) && !IsMissing(GetLastError())) return false;
  // Nothing is left to keep: what is learned from now on may be written.
  keepUntouched_ = false;
  return true;
}

}  // namespace luma::win32
