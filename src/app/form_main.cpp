#include "app/form_main.h"

#include <string>

#include "app/app_context.h"
#include "app/form_main_design.h"
#include "app/web_link.h"
#include "app/wipe_settings.h"
#include "core/control_ids.h"
#include "core/text.h"
#include "erase/removal.h"
#include "scan/trace_scan.h"
#include "windows/form_details.h"
#include "windows/form_msg.h"

namespace veltrane {

namespace {

constexpr const char* kBrowserName = "MICROSOFT INTERNET EXPLORER";
const std::string kBrowserWarning =
    "\r\nPlease close Microsoft Internet\r\nExplorer before using this program.\r\n\r\n"
    "Some files could not be removed correctly if MSIE is open!";

}  // namespace

FormMain::FormMain(AppContext& app)
    : app_(app),
      form_(app.os.runtime.CreateForm(MainDesign(), *this)),
      ctx_{app.os, app.state, *form_} {}

void FormMain::Form_Load() {
  const platform::Version v = app_.os.runtime.ProgramVersion();
  form_->SetCaption("Veltrane v" + Decimal(v.major) + "." + Decimal(v.minor) + " (build " +
                    Decimal(v.revision) + ")");
  app_.state.scanDone = false;
  FillPassCombo(*form_);
  form_->SetEnabled(ids::Combo_Pass, false);
  GetTaskName();

  // Every match warns again; the one message window shows the same text.
  const TraceList& tasks = app_.state.taskList;
  const std::size_t last = tasks.Count();
  for (std::size_t i = 1; i <= last; ++i) {
    const std::optional<std::string> title = tasks.At(i);
    if (!title || UpperAscii(*title).find(kBrowserName) == std::string::npos) continue;
    form_->Show();
    app_.Msg().Display_Msg(kBrowserWarning);
  }
}

void FormMain::Form_Unload() { app_.os.runtime.End(); }

void FormMain::GetTaskName() {
  platform::Desktop& desktop = app_.os.desktop;
  TraceList& tasks = app_.state.taskList;
  const platform::WindowHandle own = form_->Handle();
  tasks.Clear();
  for (platform::WindowHandle h = desktop.First(own); h != 0;) {
    // Both are asked for every window walked, listed or not.
    const bool visible = desktop.IsVisible(h);
    const platform::WindowHandle owner = desktop.Owner(h);
    if (h != own && visible && owner == 0) {
      const int length = desktop.TitleLength(h);
      std::string title;
      // A window that closed or retitled meanwhile reads 0: it is not listed.
      if (desktop.Title(h, title, (length > 0 ? length : 0) + 1) > 0) tasks.Append(title);
    }
    h = desktop.Next(h);
    app_.os.runtime.DoEvents();
  }
}

void FormMain::OnClick(int id) {
  switch (id) {
    case ids::Command_Scan: Command_Scan_Click(); break;
    case ids::Image_Scan: Image_Scan_Click(); break;
    case ids::Command_Remove: Command_Remove_Click(); break;
    case ids::Image_Remove: Image_Remove_Click(); break;
    case ids::Status_Cookies: Status_Cookies_Click(); break;
    case ids::Label_Cookies_Details: Label_Cookies_Details_Click(); break;
    case ids::Status_History: Status_History_Click(); break;
    case ids::Label_History_Details: Label_History_Details_Click(); break;
    case ids::Check_Wipe: Check_Wipe_Click(*form_); break;
    case ids::Label_Wipe: Label_Wipe_Click(*form_); break;
    case ids::Label_URL: Label_URL_Click(); break;
    default: break;  // Status_Cache and the decorations open nothing
  }
}

void FormMain::Command_Scan_Click() { RunScan(ctx_); }
void FormMain::Image_Scan_Click() { Command_Scan_Click(); }
void FormMain::Command_Remove_Click() { RunRemoval(ctx_, app_.Msg()); }
void FormMain::Image_Remove_Click() { Command_Remove_Click(); }
void FormMain::Status_Cookies_Click() { app_.Details().ShowDetails(DetailsKind::CookieDomains); }
void FormMain::Label_Cookies_Details_Click() { Status_Cookies_Click(); }
void FormMain::Status_History_Click() { app_.Details().ShowDetails(DetailsKind::TypedUrls); }
void FormMain::Label_History_Details_Click() { Status_History_Click(); }
void FormMain::Label_URL_Click() { OpenHomePage(app_.os.launcher); }

void FormMain::OnKeyUp(int id, int, int) {
  if (id == ids::Combo_Pass) Combo_Pass_KeyUp(*form_);
}

// A close is never refused and asks nothing.
void FormMain::OnClose() { Form_Unload(); }

}  // namespace veltrane
