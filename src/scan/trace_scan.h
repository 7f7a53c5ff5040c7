#pragma once

namespace veltrane {

class AppContext;

// The scan behind Command_Scan and Image_Scan.
void Command_Scan_Click(AppContext& app);

}  // namespace veltrane
