#pragma once
#include <cstdint>

#include "platform/event_pump.h"

namespace veltrane::win32 {

// Lets the GUI thread's queued messages run, but at most about every 15 ms:
// a queue call costs ~90 us under Wine, the tick check nanoseconds, and the
// modules ask after every item.
class Win32EventPump : public platform::EventPump {
 public:
  explicit Win32EventPump(std::uint64_t intervalMs = 15) : intervalMs_(intervalMs) {}
  void DoEvents() override;

 private:
  std::uint64_t intervalMs_;
  std::uint64_t lastPump_ = 0;
};

}  // namespace veltrane::win32
