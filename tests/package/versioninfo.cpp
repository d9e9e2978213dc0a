// Reads a program's version resource, manifest and icon back as Windows sees
// them, for the package tests: one "Name=value" a line.
//
// Usage: versioninfo PROGRAM.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size,
                      nullptr, nullptr);
  return result;
}

// A value of the string table the first translation names.
std::wstring StringValue(std::vector<char>& block, const wchar_t* name) {
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &size) ||
      size < sizeof *translation)
    return L"";
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
           translation->codePage, name);
  wchar_t* text = nullptr;
  if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&text), &size) || size == 0)
    return L"";
  return std::wstring(text, wcsnlen(text, size));
}

std::string Version(DWORD high, DWORD low) {
  char text[64];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", HIWORD(high), LOWORD(high), HIWORD(low),
                LOWORD(low));
  return text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: versioninfo PROGRAM.exe\n", stderr);
    return 2;
  }
  const wchar_t* program = argv[1];
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(program, &ignored);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoW(program, 0, size, block.data())) {
    std::printf("VersionResource=none\n");
    return 1;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) &&
      fixedSize >= sizeof *fixed) {
    std::printf("FixedFileVersion=%s\n",
                Version(fixed->dwFileVersionMS, fixed->dwFileVersionLS).c_str());
    std::printf("FixedProductVersion=%s\n",
                Version(fixed->dwProductVersionMS, fixed->dwProductVersionLS).c_str());
    std::printf("FileType=%lu\n", fixed->dwFileType);
  }
  for (const wchar_t* name : {L"ProductName", L"FileVersion", L"ProductVersion", L"FileDescription",
                              L"OriginalFilename", L"Comments"}) {
    std::printf("%s=%s\n", Utf8(name).c_str(), Utf8(StringValue(block, name)).c_str());
  }

  const HMODULE module =
      LoadLibraryExW(program, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  const auto has = [module](LPCWSTR type) {
    return module != nullptr && FindResourceW(module, MAKEINTRESOURCEW(1), type) != nullptr;
  };
  std::printf("Manifest=%s\n", has(RT_MANIFEST) ? "yes" : "no");
  std::printf("Icon=%s\n", has(RT_GROUP_ICON) ? "yes" : "no");
  // The word tables, by name, with their sizes: a table left out or empty shows.
  std::printf("WordTables=");
  for (const char* name : {"DE", "EN", "ES", "FR", "IT", "NL", "PL", "PT", "RU", "SV"}) {
    const std::string id = std::string("WORDS_") + name;
    HRSRC found =
        module != nullptr ? FindResourceA(module, id.c_str(), MAKEINTRESOURCEA(10)) : nullptr;
    if (found != nullptr && SizeofResource(module, found) > 100000) std::printf("%s ", name);
  }
  std::printf("\n");
  if (module != nullptr) FreeLibrary(module);
  return 0;
}
