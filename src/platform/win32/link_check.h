#pragma once
#include <windows.h>

#include <string>

namespace veltrane::win32 {

// True when the file behind `opened` is not the file that the last part of
// `path` names itself: the name is a link that the open went through.
// Wine 8 opens a unix symbolic link to a file as its target, ignores
// FILE_FLAG_OPEN_REPARSE_POINT and reports the link as a plain file; only the
// final path of the handle (the target's) betrays it. Real Windows opens the
// link itself and the two paths agree. When a path cannot be resolved the
// answer is true: a name we cannot vouch for is never written through.
bool NameLeadsElsewhere(HANDLE opened, const std::wstring& path);

// Removes a link's own name where deleting by name or by handle would remove
// its target (Wine 8 unlinks the resolved path): an empty file of ours is
// renamed over the name, which replaces the link itself, and then deleted.
// False when any step fails; the target is never touched.
bool DeleteLinkName(const std::wstring& path);

}  // namespace veltrane::win32
