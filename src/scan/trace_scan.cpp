#include "scan/trace_scan.h"

#include "app/app_context.h"

namespace veltrane {

void Command_Scan_Click(AppContext&) {}

}  // namespace veltrane
