#include "win32/TextConversion.h"

namespace luma::win32 {

std::wstring Widen(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), length);
  return wide;
}

void WidenInto(const char* text, wchar_t* out, std::size_t size) noexcept {
  if (size == 0) return;
  const int cap = static_cast<int>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size) - 1;
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, out, cap + 1);
  if (n == 0) n = MultiByteToWideChar(CP_ACP, 0, text, -1, out, cap + 1);
  if (n == 0) out[0] = L'\0';
  out[size - 1] = L'\0';
}

std::string ToAnsi(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
  result.pop_back();  // the terminating NUL
  return result;
}

}  // namespace luma::win32
