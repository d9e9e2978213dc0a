// The system services behind the settings store and the diagnostic log: the
// registry key, the profile-file functions and whole-file reads and writes.
// One Win32 implementation each (win32/), fakes in tests/unit/.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace luma {

enum class RegistryRoot { kCurrentUser, kLocalMachine };

// Access masks, the values of the Win32 constants.
constexpr std::uint32_t kKeyAllAccess = 0xF003F;   // KEY_ALL_ACCESS
constexpr std::uint32_t kKeyRead = 0x20019;        // KEY_READ
constexpr std::uint32_t kKeyReadValues = 0x20009;  // STANDARD_RIGHTS_READ | query | enumerate
constexpr std::uint32_t kKeyQueryValue = 0x0001;   // KEY_QUERY_VALUE

constexpr std::uint32_t kRegSz = 1;     // REG_SZ
constexpr std::uint32_t kRegDword = 4;  // REG_DWORD

// A value as the registry holds it.
struct RegistryData {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> bytes;
};

// One open registry key at a time.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // RegCreateKeyExA(root, path, 0, no class, REG_OPTION_NON_VOLATILE, access).
  virtual bool Create(RegistryRoot root, const std::string& path, std::uint32_t access) = 0;
  // RegOpenKeyExA(root, path, 0, access).
  virtual bool Open(RegistryRoot root, const std::string& path, std::uint32_t access) = 0;
  // RegCloseKey; nothing when no key is open.
  virtual void Close() = 0;
  // RegQueryValueExA; none when no key is open or the value does not exist.
  virtual std::optional<RegistryData> Query(const std::string& name) = 0;
  // RegSetValueExA as REG_DWORD; false when refused or no key is open.
  virtual bool SetDword(const std::string& name, std::uint32_t value) = 0;
};

// The system's profile-file functions over one file at a time.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // GetPrivateProfileStringA with default "" and room for 2047 characters.
  virtual std::string Read(const std::string& path, const std::string& section,
                           const std::string& name) = 0;
  // WritePrivateProfileStringA; false when the system refused the write.
  virtual bool Write(const std::string& path, const std::string& section, const std::string& name,
                     const std::string& value) = 0;
  // WritePrivateProfileStringA(no section, no name, no value, path): the
  // system writes out its cached copy of the file.
  virtual void Flush(const std::string& path) = 0;
};

struct FileContent {
  enum class Status { kRead, kMissing, kFailed };
  Status status = Status::kMissing;
  std::string bytes;  // complete only with kRead
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The whole file, or kMissing when it does not exist, or kFailed when it
  // exists but could not be read completely (also: a directory of that name).
  virtual FileContent ReadWhole(const std::string& path) = 0;
  // Creates or replaces the file with exactly these bytes.
  virtual bool WriteWhole(const std::string& path, const std::string& bytes) = 0;
  // An existing file can be opened for writing, without changing it.
  virtual bool CanWrite(const std::string& path) = 0;
};

}  // namespace luma
