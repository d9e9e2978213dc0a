#include <windows.h>

#include "win32/ExceptionBoundary.h"

#include <cwchar>
#include <exception>
#include <new>
#include <string>

namespace luma::win32 {
namespace {

// The text the user sees: the exception's own message.
std::string CaughtMessage() {
  try {
    throw;
  } catch (const std::exception& error) {
    return error.what();
  } catch (...) {
    return "Unknown error";
  }
}

// what() is UTF-8 in this program; anything else still shows, byte by byte.
void Widen(const char* text, wchar_t* out, std::size_t size) noexcept {
  if (size == 0) return;
  const int cap = static_cast<int>(size > 0x7FFFFFFF ? 0x7FFFFFFF : size) - 1;
  int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, out, cap + 1);
  if (n == 0) n = MultiByteToWideChar(CP_ACP, 0, text, -1, out, cap + 1);
  if (n == 0) out[0] = L'\0';
  out[size - 1] = L'\0';
}

}  // namespace

void DescribeCaughtException(const wchar_t* where, wchar_t* text, std::size_t size) noexcept {
  if (text == nullptr || size == 0) return;
  wchar_t what[256] = L"unknown exception";
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& error) {
      Widen(error.what(), what, 256);
    } catch (...) {
    }
  }
  std::swprintf(text, size, L"Lumatype: %ls (%ls)", what, where ? where : L"");
  text[size - 1] = L'\0';
}

void NoteCaughtException(const wchar_t* where) noexcept {
  wchar_t text[512];
  DescribeCaughtException(where, text, 512);
  OutputDebugStringW(text);
}

void ExceptionBoundary::NoteCaught(const wchar_t* where) noexcept {
  NoteCaughtException(where);
  if (reporter_ == nullptr || reporting_) return;
  reporting_ = true;
  try {
    reporter_->Report(CaughtMessage());
  } catch (...) {
  }
  reporting_ = false;
}

}  // namespace luma::win32
