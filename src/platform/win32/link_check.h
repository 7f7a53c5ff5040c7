#pragma once
#include <windows.h>

#include <string>

#include "platform/win32/handles.h"

namespace veltrane::win32 {

// A folder held open for the files in it. `held`: the path Wine holds for
// it, ending in "\", taken when it was opened (for the final-path check
// only; empty otherwise).
struct HeldFolder {
  FileHandle handle;
  std::wstring held;
};

// Paths as Windows compares them: without regard to case.
bool SamePath(const std::wstring& a, const std::wstring& b);
// A name as Wine holds it, less its trailing dots and blanks.
std::wstring WithoutTrailingDotsAndBlanks(std::wstring name);

// What an open reached, as the final-path check tells it.
enum class Reached {
  Name,        // the file that the last part names
  LinkTarget,  // the target of a link the open went through: never marked, never written
  Unknown,     // cannot be told: nothing may be done to the file
};

// Wine 8 opens a unix symbolic link to a file as its target, ignores
// FILE_OPEN_REPARSE_POINT and reports one link and no reparse bit; only the
// path that Wine holds for the handle (the target's) betrays it. `opened` is
// `name` opened in `folder`. Unknown when that path cannot be had.
Reached ReachedIn(HANDLE opened, const HeldFolder& folder, const std::wstring& name);

// Removes a link's own name where deleting it by name or by handle would
// remove its target (Wine 8 unlinks the resolved path): an empty file of
// ours, made under a name nobody uses, is renamed over the name, which
// replaces the link itself, and is then deleted. False when any step fails;
// the target is never touched, and no other file either.
bool DeleteLinkIn(HANDLE folder, const std::wstring& name);

}  // namespace veltrane::win32
