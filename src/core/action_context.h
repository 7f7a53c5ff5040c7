#pragma once
#include "core/program_state.h"
#include "platform/runtime.h"
#include "platform/services.h"

namespace veltrane {

// What an action of the main window works with: the platform, the
// program-wide variables, and the main window, whose status rows, pointer and
// wipe settings it reads and writes.
struct ActionContext {
  platform::Services& os;
  ProgramState& state;
  platform::Form& main;
};

}  // namespace veltrane
