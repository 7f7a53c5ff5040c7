#pragma once
#include "platform/services.h"

namespace veltrane {

// The whole program: creates the main window, runs its load step, shows it
// and runs the event loop until the program ends.
int RunProgram(platform::Services& services);

}  // namespace veltrane
