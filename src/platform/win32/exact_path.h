#pragma once
#include <string>
#include <string_view>

namespace veltrane::win32 {

// The form of a program path that reaches exactly the file it names: "\\?\"
// (or "\\?\UNC\" for "\\server\share\...") in front of the full folder path,
// then the last part as given. Plain Win32 parsing strips trailing dots and
// blanks and maps device names, so "foo." would reach "foo" and "nul.txt"
// the null device; after "\\?\" Windows takes every part verbatim, and the
// 260-character limit no longer applies. The folder part is settled with
// GetFullPathNameW only when it needs it ("/", "." or ".." parts, not a full
// path): that call would strip a trailing dot from every part on the way.
// A last part of "." or ".." is a step, not a name, and is settled too.
std::wstring ExactPath(std::string_view path);

}  // namespace veltrane::win32
