#pragma once
#include <string>
#include <vector>

#include "platform/launcher.h"

namespace veltrane::fake {

// Records every address opened; answers with the scripted result.
class FakeLauncher : public platform::Launcher {
 public:
  struct Call {
    std::string address;
    int windowState;
  };

  void SetResult(bool result) { result_ = result; }
  const std::vector<Call>& Calls() const { return calls_; }

  bool Open(const std::string& address, int windowState) override {
    calls_.push_back(Call{address, windowState});
    return result_;
  }

 private:
  std::vector<Call> calls_;
  bool result_ = true;
};

}  // namespace veltrane::fake
