#include "windows/form_msg.h"

#include "core/control_ids.h"
#include "windows/form_msg_design.h"

namespace veltrane {

platform::Form& FormMsg::form() {
  if (!form_) form_ = runtime_.CreateForm(MsgDesign(), *this);
  return *form_;
}

void FormMsg::Display_Msg(const std::string& tmp_Msg) {
  platform::Form& window = form();
  window.SetText(ids::Label_Msg, tmp_Msg);
  window.Show();
  window.SetTimerEnabled(ids::Timer_Msg, true);
}

void FormMsg::OnClick(int id) {
  if (id == ids::Msg_Command_Close) Command_Close_Click();
}

void FormMsg::OnTimer(int id) {
  if (id == ids::Timer_Msg) Timer_Msg_Timer();
}

// "OK!": the window is hidden, never destroyed, so the next message reuses it.
void FormMsg::Command_Close_Click() {
  form_->SetTimerEnabled(ids::Timer_Msg, false);
  form_->Hide();
}

// The tick's only duty is to be harmless while the window is up.
void FormMsg::Timer_Msg_Timer() { form_->Repaint(); }

// The close box has already hidden the window; the timer runs only while it
// is shown, and the next Display_Msg brings both back.
void FormMsg::OnClose() { form_->SetTimerEnabled(ids::Timer_Msg, false); }

}  // namespace veltrane
