#pragma once
#include <windows.h>

#include <optional>

namespace veltrane::win32 {

struct OpenedInfo {
  DWORD attributes = 0;
  DWORD links = 0;  // names of the file; above 1 for a hard-linked one
};

// What an open handle says of its file; nothing on failure. Asked by class
// (GetFileInformationByHandleEx, ~1 us under Wine) rather than through
// GetFileInformationByHandle, which also asks for the volume (~0.3 ms).
std::optional<OpenedInfo> QueryOpened(HANDLE h);

// Deletes the opened file's name when its last handle closes; the handle
// needs DELETE access. False when refused (read-only file, say).
bool MarkForDeletion(HANDLE h);

}  // namespace veltrane::win32
