#include "win32/IniFileBackEnd.h"

#include "win32/Handles.h"

namespace luma::win32 {
namespace {

// Far beyond any settings file or log; a larger file is not ours to rewrite.
constexpr LONGLONG kMaxWholeFile = 16 * 1024 * 1024;

}  // namespace

std::string Win32ProfileFile::Read(const std::string& path, const std::string& section,
                                   const std::string& name) {
  char text[2048];
  const DWORD length =
      GetPrivateProfileStringA(section.c_str(), name.c_str(), "", text, sizeof text, path.c_str());
  return std::string(text, length);
}

bool Win32ProfileFile::Write(const std::string& path, const std::string& section,
                             const std::string& name, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), name.c_str(), value.c_str(), path.c_str()) !=
         FALSE;
}

void Win32ProfileFile::Flush(const std::string& path) {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}

luma::FileContent Win32FileSystem::ReadWhole(const std::string& path) {
  using Status = luma::FileContent::Status;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? Status::kMissing : Status::kFailed, {}};
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {Status::kFailed, {}};

  File file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kMaxWholeFile) {
    return {Status::kFailed, {}};
  }
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read,
                  nullptr) ||
        read == 0) {
      return {Status::kFailed, {}};
    }
    done += read;
  }
  return {Status::kRead, std::move(bytes)};
}

bool Win32FileSystem::WriteWhole(const std::string& path, const std::string& bytes) {
  File file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                   &written, nullptr) ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

bool Win32FileSystem::CanWrite(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  File file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(file);
}

}  // namespace luma::win32
