#pragma once
#include <string>
#include <string_view>

namespace veltrane::win32 {

// The program holds UTF-8; the wide Windows API takes UTF-16. Both directions
// keep embedded NUL characters, since registry strings may carry them.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// At most `limit` bytes of `utf8`, cut before a character that would not fit whole.
std::string CutUtf8(const std::string& utf8, std::size_t limit);

}  // namespace veltrane::win32
