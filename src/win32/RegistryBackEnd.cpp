#include "win32/RegistryBackEnd.h"

namespace luma::win32 {

HKEY RootKeyOf(luma::RegistryRoot root) {
  return root == luma::RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

bool Win32RegistryKey::Create(luma::RegistryRoot root, const std::string& path,
                              std::uint32_t access) {
  key_.Reset();
  HKEY key = nullptr;
  if (RegCreateKeyExA(RootKeyOf(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  key_.Reset(key);
  return true;
}

bool Win32RegistryKey::Open(luma::RegistryRoot root, const std::string& path,
                            std::uint32_t access) {
  key_.Reset();
  HKEY key = nullptr;
  if (RegOpenKeyExA(RootKeyOf(root), path.c_str(), 0, access, &key) != ERROR_SUCCESS) {
    return false;
  }
  key_.Reset(key);
  return true;
}

std::optional<luma::RegistryData> Win32RegistryKey::Query(const std::string& name) {
  if (!key_) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  luma::RegistryData data{type, std::vector<std::uint8_t>(size)};
  // The value may grow between the two calls; ask again with its new size.
  for (int attempt = 0; attempt < 4; ++attempt) {
    size = static_cast<DWORD>(data.bytes.size());
    const LSTATUS status =
        RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, data.bytes.data(), &size);
    if (status == ERROR_SUCCESS) {
      data.type = type;
      data.bytes.resize(size);
      return data;
    }
    if (status != ERROR_MORE_DATA) return std::nullopt;
    data.bytes.resize(size);
  }
  return std::nullopt;
}

bool Win32RegistryKey::SetDword(const std::string& name, std::uint32_t value) {
  if (!key_) return false;
  const DWORD data = value;
  return RegSetValueExA(key_.Get(), name.c_str(), 0, REG_DWORD,
                        reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
}

}  // namespace luma::win32
