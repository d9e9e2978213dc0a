#include <windows.h>

#include "win32/ExceptionBoundary.h"

#include <cwchar>
#include <exception>
#include <new>
#include <string>

#include "win32/TextConversion.h"

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

}  // namespace

void DescribeCaughtException(const wchar_t* where, wchar_t* text, std::size_t size) noexcept {
  if (text == nullptr || size == 0) return;
  wchar_t what[256] = L"unknown exception";
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& error) {
      // what() is UTF-8 in this program.
      WidenInto(error.what(), what, 256);
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
