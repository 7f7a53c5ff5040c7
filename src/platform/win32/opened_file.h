#pragma once
#include <windows.h>

#include <optional>

namespace veltrane::win32 {

struct OpenedInfo {
  DWORD attributes = 0;
  DWORD links = 0;  // names of the file; above 1 for a hard-linked one
  bool deletePending = false;

  // Names of the file besides the one this handle marked for deletion.
  // Windows counts only the names not marked and says the mark is pending;
  // Wine 8 counts every name and never reports the mark.
  DWORD OtherNamesAfterTheMark() const { return deletePending || links == 0 ? links : links - 1; }
};

// What an open handle says of its file; nothing on failure. Asked by class
// (GetFileInformationByHandleEx, ~1 us under Wine) rather than through
// GetFileInformationByHandle, which also asks for the volume (~0.3 ms).
std::optional<OpenedInfo> QueryOpened(HANDLE h);

// Deletes the opened file's name when its last handle closes; the handle
// needs DELETE access. False when refused (read-only file, say).
bool MarkForDeletion(HANDLE h);

}  // namespace veltrane::win32
