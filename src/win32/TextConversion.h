// Text between the core's UTF-8 and ANSI strings and the system's UTF-16.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace luma::win32 {

// UTF-8 to UTF-16; empty for text that is not UTF-8.
std::wstring Widen(std::string_view text);

// UTF-8 into a fixed buffer, for reports that must not allocate; text that
// is not UTF-8 still shows, byte by byte in the ANSI code page. Always
// terminated, cut to fit.
void WidenInto(const char* text, wchar_t* out, std::size_t size) noexcept;

// UTF-16 to the ANSI code page.
std::string ToAnsi(const wchar_t* text);

}  // namespace luma::win32
