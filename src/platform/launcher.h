#pragma once
#include <string>

namespace veltrane::platform {

constexpr int kShowMinimizedWithFocus = 2;

// Opens a web address with the program the system associates with it (the
// user's browser), without waiting for it.
class Launcher {
 public:
  virtual ~Launcher() = default;
  // Failure (no handler, or any other): false, nothing started.
  virtual bool Open(const std::string& address, int windowState) = 0;
};

}  // namespace veltrane::platform
