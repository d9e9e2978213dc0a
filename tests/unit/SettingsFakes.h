// Fakes of the settings, the registry, the profile functions, whole files,
// the clock and the error report. Calls are recorded in order, as one timeline shared by
// the fakes that hold the same log.
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/ErrorReporter.h"
#include "platform/LocalClock.h"
#include "platform/SettingsBackEnd.h"
#include "settings/Settings.h"

namespace luma::fakes {

using CallLog = std::vector<std::string>;

// Settings held in memory: each write recorded as "name=value", in order.
class MemorySettings : public Settings {
 public:
  std::map<std::string, std::int32_t> values;
  std::vector<std::string> writes;
  std::optional<std::size_t> failAtWrite;  // this write (0-based) and later ones fail
  bool broken = false;                     // every call throws
  // Called with each name about to be written; a throw fails the write.
  std::function<void(const std::string&)> beforeWrite;

  std::int32_t ReadInteger(const std::string& name, std::int32_t defaultValue) override {
    if (broken) throw std::runtime_error("settings broke");
    const auto it = values.find(name);
    return it == values.end() ? defaultValue : it->second;
  }
  bool ReadBool(const std::string& name, bool defaultValue) override {
    return ReadInteger(name, defaultValue ? 1 : 0) != 0;
  }
  bool WriteInteger(const std::string& name, std::int32_t value) override {
    if (broken) throw std::runtime_error("settings broke");
    if (failAtWrite && writes.size() >= *failAtWrite) return false;
    if (beforeWrite) beforeWrite(name);
    writes.push_back(name + "=" + std::to_string(value));
    values[name] = value;
    return true;
  }
  bool WriteBool(const std::string& name, bool value) override {
    return WriteInteger(name, value ? 1 : 0);
  }
};

class FakeRegistry : public RegistryKey {
 public:
  explicit FakeRegistry(CallLog& log) : log_(log) {}
  bool createAllowed = true;
  std::set<std::uint32_t> openAllowed;  // access masks RegOpenKeyExA grants
  bool setAllowed = true;               // false: the key was opened without write rights
  std::map<std::string, RegistryData> values;

  bool Create(RegistryRoot root, const std::string& path, std::uint32_t access) override {
    log_.push_back("create " + Describe(root, path, access));
    open_ = createAllowed;
    return open_;
  }
  bool Open(RegistryRoot root, const std::string& path, std::uint32_t access) override {
    log_.push_back("open " + Describe(root, path, access));
    open_ = openAllowed.contains(access);
    return open_;
  }
  void Close() override {
    log_.push_back("close");
    open_ = false;
  }
  std::optional<RegistryData> Query(const std::string& name) override {
    const auto it = values.find(name);
    if (!open_ || it == values.end()) return std::nullopt;
    return it->second;
  }
  bool SetDword(const std::string& name, std::uint32_t value) override {
    if (!open_ || !setAllowed) return false;
    log_.push_back("set " + name + "=" + std::to_string(static_cast<std::int32_t>(value)));
    values[name] = Dword(value);
    return true;
  }

  static RegistryData Dword(std::uint32_t v) {
    return {kRegDword,
            {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}};
  }
  static RegistryData Text(const std::string& s) {
    RegistryData data{kRegSz, {s.begin(), s.end()}};
    data.bytes.push_back(0);
    return data;
  }

 private:
  static std::string Describe(RegistryRoot root, const std::string& path, std::uint32_t access) {
    char mask[16];
    std::snprintf(mask, sizeof mask, "%#x", access);
    return std::string(root == RegistryRoot::kCurrentUser ? "HKCU\\" : "HKLM\\") + path + " " +
           mask;
  }
  CallLog& log_;
  bool open_ = false;
};

// Sections and values in the order they were first written, like the system's.
class FakeProfile : public ProfileFile {
 public:
  explicit FakeProfile(CallLog& log) : log_(log) {}
  bool writable = true;
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> files;  // path → values

  std::string Read(const std::string& path, const std::string& section,
                   const std::string& name) override {
    for (const auto& [key, value] : files[path + "|" + section]) {
      if (key == name) return value;
    }
    return "";
  }
  bool Write(const std::string& path, const std::string& section, const std::string& name,
             const std::string& value) override {
    if (!writable) return false;
    log_.push_back("ini " + name + "=" + value);
    auto& entries = files[path + "|" + section];
    for (auto& [key, old] : entries) {
      if (key == name) return old = value, true;
    }
    entries.emplace_back(name, value);
    return true;
  }
  void Flush(const std::string& path) override { log_.push_back("flush " + path); }

 private:
  CallLog& log_;
};

class FakeFiles : public FileSystem {
 public:
  explicit FakeFiles(CallLog& log) : log_(log) {}
  std::map<std::string, std::string> files;
  std::set<std::string> unreadable, unwritable;

  FileContent ReadWhole(const std::string& path) override {
    if (unreadable.contains(path)) return {FileContent::Status::kFailed, {}};
    const auto it = files.find(path);
    if (it == files.end()) return {FileContent::Status::kMissing, {}};
    return {FileContent::Status::kRead, it->second};
  }
  bool WriteWhole(const std::string& path, const std::string& bytes) override {
    if (unwritable.contains(path)) return false;
    log_.push_back("write " + path);
    files[path] = bytes;
    return true;
  }
  bool CanWrite(const std::string& path) override {
    return files.contains(path) && !unwritable.contains(path);
  }

 private:
  CallLog& log_;
};

// Formats like United States settings: 12/7/2026 4:05:31 PM.
class FakeClock : public LocalClock {
 public:
  LocalTime now{2026, 12, 7, 16, 5, 31, 0};
  LocalTime Now() override { return now; }
  std::string ShortDate(const LocalTime& t) override {
    return std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year);
  }
  std::string LongTime(const LocalTime& t) override {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d %s", (t.hour + 11) % 12 + 1, t.minute, t.second,
                  t.hour < 12 ? "AM" : "PM");
    return text;
  }
};

class RecordingErrors : public ErrorReporter {
 public:
  std::vector<std::string> messages;
  void Report(const std::string& message) override { messages.push_back(message); }
};

}  // namespace luma::fakes
