#pragma once

namespace veltrane::platform {

// "Let pending events run": any event handler of any window may run inside
// DoEvents. The modules call it at every point their behaviour names; the
// real implementation decides how cheaply it can honour that.
class EventPump {
 public:
  virtual ~EventPump() = default;
  virtual void DoEvents() = 0;
};

}  // namespace veltrane::platform
