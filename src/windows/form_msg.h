#pragma once
#include <memory>
#include <string>

#include "platform/runtime.h"

namespace veltrane {

// The single modeless message window. Its window is created by the first
// message (or the first look at it) and then reused, hidden between messages.
class FormMsg : public platform::FormEvents {
 public:
  explicit FormMsg(platform::Runtime& runtime) : runtime_(runtime) {}
  FormMsg(const FormMsg&) = delete;
  FormMsg& operator=(const FormMsg&) = delete;

  void Display_Msg(const std::string& tmp_Msg);
  platform::Form& form();
  bool Exists() const { return form_ != nullptr; }

  void OnClick(int id) override;
  void OnTimer(int id) override;
  void OnClose() override;

 private:
  void Command_Close_Click();
  void Timer_Msg_Timer();

  platform::Runtime& runtime_;
  std::unique_ptr<platform::Form> form_;
};

}  // namespace veltrane
