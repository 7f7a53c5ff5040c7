#pragma once
#include <string>

#include "core/context.h"
#include "registry/module_registry.h"

namespace veltrane {

// The scan behind Command_Scan and Image_Scan. A scan click that arrives while
// a scan lets events run is ignored: the running scan rebuilds every path and
// list anyway, and a nested one would rebuild the scratch lists under it.
void RunScan(const Context& ctx);

// A Shell Folders value as a folder path: ending in "\", or "*" (not found).
std::string FolderPathFromValue(const RegValue& value);

}  // namespace veltrane
