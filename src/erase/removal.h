#pragma once

namespace veltrane {

class AppContext;

// The removal behind Command_Remove and Image_Remove.
void Command_Remove_Click(AppContext& app);

}  // namespace veltrane
