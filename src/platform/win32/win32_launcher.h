#pragma once
#include "platform/launcher.h"

namespace veltrane::win32 {

// "start " + address goes to the shell, which opens the address in the user's
// browser (no console program in between); any other command line is started
// as a program. Neither is waited for.
class Win32Launcher : public platform::Launcher {
 public:
  bool Start(const std::string& commandLine, int windowState) override;
};

}  // namespace veltrane::win32
