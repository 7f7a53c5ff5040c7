#pragma once
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/win32/link_check.h"
#include "platform/win32/link_choice.h"

namespace veltrane::win32 {

// Opens `name` in `folder` to erase it: written through a handle that lets
// other holders be as long as they let it be written and deleted, its name
// marked to go with that handle; null when that cannot be had.
std::unique_ptr<platform::WipeTarget> OpenWipeTarget(const HeldFolder& folder, const std::wstring& name,
                                                     LinkCheck check);

// The file is open for a wipe of this program's own. Windows refuses any
// open of a file marked for deletion; Wine opens it all the same, so an
// erase nested in a wipe pass asks this first and leaves the file to the wipe.
bool BeingWiped(HANDLE opened);

}  // namespace veltrane::win32
