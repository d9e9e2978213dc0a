// The settings store: the registry key from the start, the settings file
// next to the program once BindIniFile has managed to prepare it. Exactly one
// of the two is used at any moment; nothing is copied between them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ErrorReporter.h"
#include "platform/SettingsBackEnd.h"
#include "settings/Settings.h"

namespace luma {

// The subkey under the root key; other installations and earlier runs use it.
inline constexpr const char* kSettingsKeyPath = "SOFTWARE\\Halvorin\\Plumtap";
inline constexpr const char* kIniFileName = "Lumtyp.ini";
inline constexpr const char* kIniSection = "Main";

struct SettingsLocation {
  RegistryRoot root = RegistryRoot::kCurrentUser;  // kLocalMachine with the switch "COMMON"
  std::string keyPath = kSettingsKeyPath;
};

// The back ends and the reporter must outlive the store. Errors are reported
// and the caller's default is used, so the program always goes on.
class SettingsStore final : public Settings {
 public:
  // Opens the key for writing, creating it when missing; failing that, for
  // reading with ever smaller rights. With no key open, reads give the
  // defaults and writes fail.
  SettingsStore(RegistryKey& registry, ProfileFile& profile, ErrorReporter& errors,
                const SettingsLocation& location = {});
  // Finish, unless already done.
  ~SettingsStore() override;
  // Closes the key and has the system write out its copy of the settings
  // file, once: for an exit that cannot wait for the store's destruction.
  void Finish();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  std::int32_t ReadInteger(const std::string& name, std::int32_t defaultValue) override;
  bool ReadBool(const std::string& name, bool defaultValue) override;
  bool WriteInteger(const std::string& name, std::int32_t value) override;
  bool WriteBool(const std::string& name, bool value) override;

  // Moves the store to "Lumtyp.ini" in programDir (which ends in a
  // backslash) when that file can be read whole and written: a missing file
  // is created empty, one with other line ends is rewritten with CR LF. Any
  // failure, or a file that is not single-byte text, leaves the store on the
  // registry and the file untouched. Binds at most once; true in file mode.
  bool BindIniFile(const std::string& programDir, FileSystem& files);

  bool UsesIniFile() const { return !iniPath_.empty(); }
  const std::string& IniPath() const { return iniPath_; }
  // The rights the key was opened with; kKeyRead makes every write a no-op.
  std::uint32_t RegistryAccess() const { return access_; }

 private:
  bool Failed(const std::string& message);

  RegistryKey& registry_;
  ProfileFile& profile_;
  ErrorReporter& errors_;
  std::uint32_t access_ = kKeyAllAccess;
  std::string iniPath_;  // empty: registry mode
  bool finished_ = false;
};

}  // namespace luma
