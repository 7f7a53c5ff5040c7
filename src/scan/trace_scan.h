#pragma once
#include "core/action_context.h"

namespace veltrane {

// The scan behind Command_Scan and Image_Scan. A scan click that arrives while
// a scan lets events run is ignored: the running scan rebuilds every path and
// list anyway, and a nested one would rebuild the scratch lists under it.
void RunScan(const ActionContext& ctx);

}  // namespace veltrane
