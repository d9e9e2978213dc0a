#include "settings/SettingsStore.h"

#include "settings/IniText.h"

namespace luma {
namespace {

std::string Quoted(const std::string& name) { return "'" + name + "'"; }

}  // namespace

SettingsStore::SettingsStore(RegistryKey& registry, ProfileFile& profile, ErrorReporter& errors,
                             const SettingsLocation& location)
    : registry_(registry), profile_(profile), errors_(errors) {
  if (registry_.Create(location.root, location.keyPath, kKeyAllAccess)) return;
  // A user without write rights (HKLM with "COMMON") may still read.
  for (const std::uint32_t access : {kKeyRead, kKeyReadValues, kKeyQueryValue}) {
    if (registry_.Open(location.root, location.keyPath, access)) {
      access_ = access;
      return;
    }
  }
}

SettingsStore::~SettingsStore() { Finish(); }

void SettingsStore::Finish() {
  if (finished_) return;
  finished_ = true;
  registry_.Close();
  if (UsesIniFile()) profile_.Flush(iniPath_);
}

bool SettingsStore::Failed(const std::string& message) {
  errors_.Report(message);
  return false;
}

std::int32_t SettingsStore::ReadInteger(const std::string& name, std::int32_t defaultValue) {
  if (UsesIniFile()) {
    return ParseIniInteger(profile_.Read(iniPath_, kIniSection, name)).value_or(defaultValue);
  }
  const std::optional<RegistryData> data = registry_.Query(name);
  if (!data) return defaultValue;
  // The value is fetched into four bytes: longer data does not fit at all.
  if (data->bytes.size() > 4) {
    Failed("Failed to get data for " + Quoted(name));
    return defaultValue;
  }
  if (data->type != kRegDword) {
    Failed("Invalid data type for " + Quoted(name));
    return defaultValue;
  }
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data->bytes.size(); ++i)
    value |= std::uint32_t{data->bytes[i]} << (8 * i);
  return static_cast<std::int32_t>(value);
}

bool SettingsStore::ReadBool(const std::string& name, bool defaultValue) {
  return ReadInteger(name, defaultValue ? 1 : 0) != 0;
}

bool SettingsStore::WriteInteger(const std::string& name, std::int32_t value) {
  if (UsesIniFile()) {
    if (profile_.Write(iniPath_, kIniSection, name, std::to_string(value))) return true;
    return Failed("Unable to write to " + iniPath_);
  }
  // Read-only on purpose: the run goes on with what is stored, silently.
  if (access_ == kKeyRead) return true;
  if (registry_.SetDword(name, static_cast<std::uint32_t>(value))) return true;
  return Failed("Failed to set data for " + Quoted(name));
}

bool SettingsStore::WriteBool(const std::string& name, bool value) {
  return WriteInteger(name, value ? 1 : 0);
}

bool SettingsStore::BindIniFile(const std::string& programDir, FileSystem& files) {
  if (UsesIniFile()) return true;
  const std::string path = programDir + kIniFileName;
  const FileContent file = files.ReadWhole(path);
  switch (file.status) {
    case FileContent::Status::kFailed:
      return false;
    case FileContent::Status::kMissing:
      if (!files.WriteWhole(path, "")) return false;
      break;
    case FileContent::Status::kRead:
      if (!IsSingleByteText(file.bytes)) return false;
      // Left alone when already in shape, so that a second instance writing
      // its values at this moment loses nothing; it must still be writable.
      if (HasCrLfLineEnds(file.bytes) ? !files.CanWrite(path)
                                      : !files.WriteWhole(path, WithCrLfLineEnds(file.bytes))) {
        return false;
      }
      break;
  }
  iniPath_ = path;
  return true;
}

}  // namespace luma
