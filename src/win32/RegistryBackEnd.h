// The settings key in the registry, through the ANSI registry functions.
#pragma once

#include <windows.h>

#include "platform/SettingsBackEnd.h"
#include "win32/Handles.h"

namespace luma::win32 {

struct CloseRegistryKey : NullIsInvalid<HKEY> {
  static void Free(HKEY key) { RegCloseKey(key); }
};
using RegistryKeyHandle = UniqueHandle<HKEY, CloseRegistryKey>;

HKEY RootKeyOf(luma::RegistryRoot root);

class Win32RegistryKey : public luma::RegistryKey {
 public:
  bool Create(luma::RegistryRoot root, const std::string& path, std::uint32_t access) override;
  bool Open(luma::RegistryRoot root, const std::string& path, std::uint32_t access) override;
  void Close() override { key_.Reset(); }
  std::optional<luma::RegistryData> Query(const std::string& name) override;
  bool SetDword(const std::string& name, std::uint32_t value) override;

 private:
  RegistryKeyHandle key_;
};

}  // namespace luma::win32
