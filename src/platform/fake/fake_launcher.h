#pragma once
#include <string>
#include <vector>

#include "platform/launcher.h"

namespace veltrane::fake {

// Records every start; answers with the scripted result.
class FakeLauncher : public platform::Launcher {
 public:
  struct Call {
    std::string commandLine;
    int windowState;
  };

  void SetResult(bool result) { result_ = result; }
  const std::vector<Call>& Calls() const { return calls_; }

  bool Start(const std::string& commandLine, int windowState) override {
    calls_.push_back(Call{commandLine, windowState});
    return result_;
  }

 private:
  std::vector<Call> calls_;
  bool result_ = true;
};

}  // namespace veltrane::fake
