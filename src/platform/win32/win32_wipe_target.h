#pragma once
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/win32/win32_files.h"

namespace veltrane::win32 {

// Opens an existing file to erase it: written through one handle that nobody
// else may share, its name marked to go with that handle; null when that
// cannot be had. `exactPath` is in its ExactPath form.
std::unique_ptr<platform::WipeTarget> OpenWipeTarget(const std::wstring& exactPath,
                                                     LinkCheck check);

}  // namespace veltrane::win32
