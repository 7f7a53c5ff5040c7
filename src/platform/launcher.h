#pragma once
#include <string>

namespace veltrane::platform {

constexpr int kShowMinimizedWithFocus = 2;

// Starts a command line as a new program without waiting for it.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // "start " followed by a web address opens it in the user's browser.
  virtual bool Start(const std::string& commandLine, int windowState) = 0;
};

}  // namespace veltrane::platform
