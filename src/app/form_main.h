#pragma once
#include <memory>

#include "core/action_context.h"
#include "platform/runtime.h"

namespace veltrane {

class AppContext;

// The main window: its load step, its close, and the wiring of its clicks.
// Creating it creates the window, hidden.
class FormMain : public platform::FormEvents {
 public:
  explicit FormMain(AppContext& app);
  platform::Form& form() { return *form_; }

  void Form_Load();
  void Form_Unload();  // ends the program: does not return
  // The window walk: refills TaskList with the titles of the other visible,
  // unowned, titled top-level windows, top of the z-order first.
  void GetTaskName();

  void OnClick(int id) override;
  void OnKeyUp(int id, int key, int shift) override;
  void OnClose() override;

 private:
  void Command_Scan_Click();
  void Image_Scan_Click();
  void Command_Remove_Click();
  void Image_Remove_Click();
  void Status_Cookies_Click();
  void Label_Cookies_Details_Click();
  void Status_History_Click();
  void Label_History_Details_Click();
  void Label_URL_Click();

  AppContext& app_;
  std::unique_ptr<platform::Form> form_;
  ActionContext ctx_;  // for the actions: the platform, the state and this window
};

}  // namespace veltrane
