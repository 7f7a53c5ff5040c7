#pragma once
#include <memory>

#include "core/program_state.h"
#include "platform/services.h"
#include "windows/form_details.h"
#include "windows/form_msg.h"

namespace veltrane {

// What the program's windows share: the platform, the program-wide
// variables, and the two windows that exist at most once, each created on
// first use.
class AppContext {
 public:
  explicit AppContext(platform::Services& services) : os(services), msg_(services.runtime) {}
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  platform::Services& os;
  ProgramState state;

  FormMsg& Msg() { return msg_; }  // Form_Msg
  FormDetails& Details();          // Form_Details
  bool HasMsg() const { return msg_.Exists(); }
  bool HasDetails() const { return details_ != nullptr; }

 private:
  FormMsg msg_;
  std::unique_ptr<FormDetails> details_;
};

}  // namespace veltrane
