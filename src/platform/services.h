#pragma once
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/launcher.h"
#include "platform/registry.h"
#include "platform/runtime.h"

namespace veltrane::platform {

// The platform services the program runs on: the real ones under Windows,
// the fakes in the native tests.
struct Services {
  Registry& registry;
  FileSystem& files;
  Desktop& desktop;
  Launcher& launcher;
  Runtime& runtime;
};

}  // namespace veltrane::platform
