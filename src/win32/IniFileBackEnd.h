// The settings file through the system's profile functions, and whole-file
// reads and writes for its binding and for the log. Paths are in the ANSI
// code page, as the profile functions take them.
#pragma once

#include <windows.h>

#include "platform/SettingsBackEnd.h"

namespace luma::win32 {

class Win32ProfileFile : public luma::ProfileFile {
 public:
  std::string Read(const std::string& path, const std::string& section,
                   const std::string& name) override;
  bool Write(const std::string& path, const std::string& section, const std::string& name,
             const std::string& value) override;
  void Flush(const std::string& path) override;
};

class Win32FileSystem : public luma::FileSystem {
 public:
  luma::FileContent ReadWhole(const std::string& path) override;
  bool WriteWhole(const std::string& path, const std::string& bytes) override;
  bool CanWrite(const std::string& path) override;
};

}  // namespace luma::win32
