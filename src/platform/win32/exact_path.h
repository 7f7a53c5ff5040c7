#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace veltrane::win32 {

// The form of a program path that reaches exactly the file it names: "\\?\"
// in front of a path from a drive root ("C:\..."), "\\?\UNC\" in place of the
// "\\" of a share ("\\server\share\..."), and a path that starts with "\\?\"
// as it is. Plain Win32 parsing strips trailing dots and blanks and maps
// device names, so "foo." would reach "foo" and "nul.txt" the null device;
// after "\\?\" Windows takes every part verbatim, and the 260-character limit
// no longer applies. Nothing is settled here: the scan settles its roots once
// (see FolderPathFromValue), and every part below them is a listed name.
//
// Nothing, so that no call is made, for a path that Windows would read as
// something else: one with a NUL inside (Windows would end the name there),
// one that is not full (a relative path would be taken from the working
// folder, and a "\\.\" path would be normalised), and one with a "." or ".."
// part, which would step out of the folder it names.
std::optional<std::wstring> ExactPath(std::string_view path);

}  // namespace veltrane::win32
