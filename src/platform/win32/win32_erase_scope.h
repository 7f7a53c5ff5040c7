#pragma once
#include <memory>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/win32/link_check.h"
#include "platform/win32/link_choice.h"

namespace veltrane::win32 {

// The identity a listing records and the removal checks, the same way for
// both. Windows: the volume serial and the file id. Wine: the file id alone;
// the volume costs ~0.4 ms a folder there, and Wine's links, the only way
// onto another volume from the scanned folders, are told by the held path.
std::optional<platform::FolderId> IdentityOf(HANDLE folder, LinkCheck check);

// A folder opened by its path (links on the way followed), with the path
// Wine holds for it under the final-path check.
HeldFolder FolderAt(const std::wstring& exactPath, LinkCheck check);

// Deletes `name` in `folder` through a handle of its own, so that the name
// checked is the name deleted (see Win32FileSystem::Delete).
bool DeleteIn(const HeldFolder& folder, const std::wstring& name, LinkCheck check);

std::unique_ptr<platform::EraseScope> MakeEraseScope(std::string root, platform::WalkedFolders walked,
                                                     LinkCheck check);

}  // namespace veltrane::win32
