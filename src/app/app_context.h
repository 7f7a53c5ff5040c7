#pragma once
#include <memory>

#include "core/program_state.h"
#include "platform/services.h"

namespace veltrane {

class FormMsg;
class FormDetails;

// What every window and action of the program shares: the platform, the
// program-wide variables, and the three windows (each exists at most once).
class AppContext {
 public:
  explicit AppContext(platform::Services& services);
  ~AppContext();
  AppContext(const AppContext&) = delete;
  AppContext& operator=(const AppContext&) = delete;

  platform::Services& os;
  ProgramState state;
  platform::Form* main = nullptr;  // Form_Main's window, set when it is created

  FormMsg& Msg();          // Form_Msg, created on first use
  FormDetails& Details();  // Form_Details, created on first use
  bool HasMsg() const { return msg_ != nullptr; }
  bool HasDetails() const { return details_ != nullptr; }

 private:
  std::unique_ptr<FormMsg> msg_;
  std::unique_ptr<FormDetails> details_;
};

}  // namespace veltrane
