#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/win32/handles.h"

namespace veltrane::win32 {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens `name`, one part without "\", in the folder that `folder` holds open
// (NtCreateFile with a root directory): the name is looked up in that folder
// object, whatever its path has become since it was opened. A reparse point
// opens as itself where the platform can (FILE_OPEN_REPARSE_POINT; Wine opens
// its target). `options` adds FILE_DIRECTORY_FILE or FILE_NON_DIRECTORY_FILE.
// `disposition` is FILE_OPEN or FILE_CREATE, which never takes over an
// existing name. Failure: no handle, and `*status` (if asked) says why.
FileHandle OpenIn(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share,
                  ULONG disposition, ULONG options, LONG* status = nullptr);

// A folder opened by its path, links on the way followed; no handle on failure.
FileHandle OpenFolderByPath(const std::wstring& exactPath);

// The path Wine holds for the handle's file, as "\\?\C:\..."; empty on
// failure or where the platform holds another form (Windows gives device
// paths). Wine takes it, links resolved, when the handle is opened, and keeps
// it when the file or a folder above it is renamed later.
std::wstring HeldPath(HANDLE h);

// The file id alone, as the handle's own file reports it (~2 us under Wine).
std::optional<std::uint64_t> FileIdOf(HANDLE h);
// The volume serial and the file id (GetFileInformationByHandle; ~0.4 ms
// under Wine, where it asks the volume).
std::optional<platform::FolderId> VolumeAndFileIdOf(HANDLE h);

// The reparse tag of an opened reparse point; 0 for anything else or on failure.
ULONG ReparseTagOf(HANDLE h);

// Renames the opened file to `name` in `folder`, replacing whatever the name
// holds (for a link, the link itself, never its target).
bool RenameInto(HANDLE file, HANDLE folder, std::wstring_view name);

}  // namespace veltrane::win32
