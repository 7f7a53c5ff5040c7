#pragma once
#include <memory>
#include <string>

#include "platform/files.h"

namespace veltrane::win32 {

// Opens an existing file to erase it: written through one handle that nobody
// else may share, its name marked to go with that handle; null when that
// cannot be had.
std::unique_ptr<platform::WipeTarget> OpenWipeTarget(const std::wstring& path);

}  // namespace veltrane::win32
