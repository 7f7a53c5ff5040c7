#include "windows/form_msg.h"

#include "app/control_ids.h"
#include "windows/form_msg_design.h"

namespace veltrane {

FormMsg::FormMsg(platform::Runtime& runtime) : form_(runtime.CreateForm(MsgDesign(), *this)) {}

void FormMsg::Display_Msg(const std::string& tmp_Msg) {
  form_->SetText(ids::Label_Msg, tmp_Msg);
  form_->Show();
  form_->SetTimerEnabled(ids::Timer_Msg, true);
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
