#pragma once
#include <functional>
#include <map>

#include "platform/event_pump.h"

namespace veltrane::fake {

// Counts the points where events were let run; at a chosen call it runs the
// test's action there, as a click delivered at that moment would.
class CountingPump : public platform::EventPump {
 public:
  // `action` runs inside the k-th call (1 = the first), once.
  void At(int k, std::function<void()> action) { actions_[k] = std::move(action); }
  // Runs at every call, before any action of that call: a test can log there.
  void OnEach(std::function<void(int)> observer) { onEach_ = std::move(observer); }
  int Count() const { return count_; }
  void Reset() { count_ = 0; }

  void DoEvents() override {
    ++count_;
    if (onEach_) onEach_(count_);
    auto it = actions_.find(count_);
    if (it == actions_.end()) return;
    std::function<void()> action = std::move(it->second);
    actions_.erase(it);
    action();
  }

 private:
  int count_ = 0;
  std::map<int, std::function<void()>> actions_;
  std::function<void(int)> onEach_;
};

}  // namespace veltrane::fake
