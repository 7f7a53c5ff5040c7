#pragma once
#include <memory>
#include <string>

#include "platform/runtime.h"

namespace veltrane {

// The single modeless message window.
class FormMsg : public platform::FormEvents {
 public:
  explicit FormMsg(platform::Runtime& runtime);
  void Display_Msg(const std::string& tmp_Msg);
  platform::Form& form() { return *form_; }

  void OnClick(int id) override;
  void OnTimer(int id) override;
  void OnClose() override;

 private:
  void Command_Close_Click();
  void Timer_Msg_Timer();

  std::unique_ptr<platform::Form> form_;
};

}  // namespace veltrane
