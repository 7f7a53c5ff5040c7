#pragma once
#include <windows.h>

#include <string>

namespace veltrane::win32 {

// What an open reached, as the final-path check tells it.
enum class Reached {
  Name,        // the file that the last part names
  LinkTarget,  // the target of a link the open went through: never marked, never written
  Unknown,     // cannot be told: nothing may be done to the file
};

// Wine 8 opens a unix symbolic link to a file as its target, ignores
// FILE_FLAG_OPEN_REPARSE_POINT and reports one link and no reparse bit; only
// the path that Wine holds for the handle (the target's) betrays it.
// `exactPath` is the path opened, in its ExactPath form; the handle needs
// FILE_READ_ATTRIBUTES. Unknown when that path cannot be had.
Reached ReachedByFinalPath(HANDLE opened, const std::wstring& exactPath);

// Removes a link's own name where deleting by name or by handle would remove
// its target (Wine 8 unlinks the resolved path): an empty file of ours is
// renamed over the name, which replaces the link itself, and then deleted.
// False when any step fails; the target is never touched.
bool DeleteLinkName(const std::wstring& exactPath);

}  // namespace veltrane::win32
