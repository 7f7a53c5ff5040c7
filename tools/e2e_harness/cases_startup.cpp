#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "core/control_ids.h"
#include "cases.h"
#include "input.h"
#include "message_box.h"
#include "probe.h"
#include "wait.h"

namespace e2e {

namespace ids = veltrane::ids;

namespace {

constexpr const wchar_t* kWarning =
    L"\r\nPlease close Microsoft Internet\r\nExplorer before using this program.\r\n\r\n"
    L"Some files could not be removed correctly if MSIE is open!";

// The main window's design, in twips relative to its client area.
struct Placement {
  int id;
  int left, top, width, height;
};

constexpr Placement kLayout[] = {
    {ids::Label_Cookies, 240, 360, 1815, 255},
    {ids::Status_Cookies, 2160, 360, 3855, 255},
    {ids::Label_Cookies_Details, 2280, 615, 1455, 240},
    {ids::Label_History, 240, 1080, 1815, 255},
    {ids::Status_History, 2160, 1080, 3855, 255},
    {ids::Label_History_Details, 2280, 1335, 1455, 240},
    {ids::Label_Cache, 240, 1800, 1815, 255},
    {ids::Status_Cache, 2160, 1800, 3855, 255},
    {ids::Label_For, 6360, 1800, 2895, 255},
    {ids::Label_C, 6360, 2760, 2895, 255},
    {ids::Label_ARR, 6360, 3000, 2895, 255},
    {ids::Label_Site, 6360, 3360, 2895, 255},
    {ids::Label_URL, 6360, 3600, 2895, 255},
    {ids::Label2, 6480, 4080, 2655, 255},
    {ids::Label_Wipe, 6750, 4320, 2175, 255},
    {ids::Image_Scan, 480, 2280, 1455, 735},
    {ids::Command_Scan, 480, 3000, 1275, 390},
    {ids::Image_Remove, 3480, 2160, 1125, 945},
    {ids::Command_Remove, 3000, 2970, 1950, 420},
    {ids::Image_Logo, 6705, 165, 2145, 1725},
    {ids::Image_Veltrane, 6360, 840, 2880, 465},
    {ids::Image_IE, 6660, 2040, 2280, 570},
    {ids::Check_Wipe, 6480, 4320, 195, 195},
    {ids::Combo_Pass, 6840, 4560, 1935, 315},
};

struct Caption {
  int id;
  const wchar_t* text;
};

constexpr Caption kCaptions[] = {
    {ids::Label_Cookies, L"Cookies "},
    {ids::Label_History, L"History "},
    {ids::Label_Cache, L"Cache "},
    {ids::Status_Cookies, L""},
    {ids::Status_History, L""},
    {ids::Status_Cache, L""},
    {ids::Label_Cookies_Details, L"Click for details"},
    {ids::Label_History_Details, L"Click for details"},
    {ids::Label_For, L"For:"},
    {ids::Label_ARR, L"All Rights Reserved"},
    {ids::Label_Site, L"Visit our website:"},
    {ids::Label2, L"SETTINGS:"},
    {ids::Label_Wipe, L"Wipe data before delete"},
};

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

HWND ShownTooltip(DWORD pid) {
  return FindTopWindow(pid, [](HWND w) { return IsWindowVisible(w) && ClassName(w) == TOOLTIPS_CLASSW; });
}

void ExpectWipeState(Case& c, const Session& s, int ticked, const std::string& after) {
  const int state = CheckState(s.Control(ids::Check_Wipe));
  const bool enabled = IsWindowEnabled(s.Control(ids::Combo_Pass)) != FALSE;
  c.Check(state == ticked, after + ": Check_Wipe is " + std::to_string(state) + ", expected " + std::to_string(ticked));
  c.Check(enabled == (ticked == 1),
          after + ": Combo_Pass is " + (enabled ? "enabled" : "disabled") + ", expected " + (ticked ? "enabled" : "disabled"));
}

void ToggleBy(Case& c, const Session& s, int id, const char* name) {
  ExpectWipeState(c, s, 0, std::string("before clicking ") + name);
  for (int ticked : {1, 0}) {
    if (!Clicked(c, s, id, name))
      return;
    WaitFor([&] { return CheckState(s.Control(ids::Check_Wipe)) == ticked; }, kEffectTimeoutMs);
    ExpectWipeState(c, s, ticked, std::string("after a click on ") + name);
  }
}

void ExpectFirstPassSelected(Case& c, const Session& s, const std::string& after) {
  const ComboState combo = ReadCombo(s.Control(ids::Combo_Pass));
  c.Check(combo.items.size() == 3, after + ": " + std::to_string(combo.items.size()) + " items");
  for (size_t i = 0; i < combo.items.size() && i < 3; ++i)
    c.Expect(combo.items[i], kPassItems[i], after + ": item " + std::to_string(i));
  c.Check(combo.selection == 0, after + ": selection " + std::to_string(combo.selection));
  c.Expect(combo.text, kPassItems[0], after + ": the text field");
}

void WithBrowserWindow(Report& report, const Settings& settings) {
  BrowserWindow browser;
  // A second match, in another case, shows the same one window.
  BrowserWindow second(L"about:blank - MICROSOFT internet EXPLORER");
  Session s(settings);
  std::string why;
  const bool started = s.Start(why);
  HWND msg = nullptr;

  report.Run("start_with_browser_window_shows_warning", [&](Case& c) {
    if (!c.Check(started, why)) return;
    c.Check(browser.Shown() && second.Shown(), "the harness's browser windows are not shown");
    WaitFor([&] { return IsShown(msg = s.MessageWindow()); }, kEffectTimeoutMs);
    if (!c.Check(IsShown(msg), "no message window shown")) return;
    c.Check(IsShown(s.Main()), "the main window is not shown");
    c.Expect(Text(FindControl(msg, ids::Label_Msg)), kWarning, "Label_Msg");
    // The frame may be painted by its window rather than be one; its caption
    // is then seen only in the screenshot.
    if (const HWND frame = FindControl(msg, ids::Frame_Msg))
      c.Expect(Text(frame), L"  -=-  Veltrane  -=-  ", "Frame_Msg");
    c.Expect(Text(FindControl(msg, ids::Msg_Command_Close)), L"OK!", "the button");
    c.Expect(Text(msg), L"Form1", "the message window's caption");
    int windows = 0;
    for (HWND w : TopWindows(s.Pid()))
      if (FindControl(w, ids::Label_Msg)) ++windows;
    c.Check(windows == 1, std::to_string(windows) + " message windows");
    RECT client{};
    GetClientRect(msg, &client);
    c.Check(client.right == 313 && client.bottom == 216, "message window client area " + RectText(client) + ", expected 313x216");
    s.Screenshot(msg, L"message-window-warning");
  });

  report.Run("message_window_ok_hides_it", [&](Case& c) {
    if (!c.Check(IsShown(msg), "no message window to answer")) return;
    if (!Clicked(c, s, ids::Msg_Command_Close, "Msg_Command_Close", msg))
      return;
    c.Check(WaitFor([&] { return !IsWindowVisible(msg); }, kEffectTimeoutMs), "still shown 20 s after OK!");
    c.Check(IsWindow(msg) != FALSE, "the window was destroyed, not hidden");
    c.Expect(Text(FindControl(msg, ids::Label_Msg)), kWarning, "the hidden window's text");
    c.Check(s.Running(), "the program ended");
  });

  report.Run("close_main_window_ends_program_with_hidden_message_window", [&](Case& c) {
    if (!c.Check(started, why)) return;
    std::string closeWhy;
    c.Check(s.Close(closeWhy), closeWhy);
  });
}

void WithoutBrowserWindow(Report& report, const Settings& settings) {
  // Hidden, so it must not count as an open browser.
  BrowserWindow hidden(L"Blank Page - Microsoft Internet Explorer", false);
  Session s(settings);
  std::string why;
  const bool started = s.Start(why);
  if (started) s.Screenshot(s.Main(), L"main-at-start");

  report.Run("start_without_browser_window_shows_no_warning", [&](Case& c) {
    if (!c.Check(started, why)) return;
    // The warning comes before the loop that waits for input.
    c.Check(WaitProgramIdle(s.Main()), "the program does not wait for input");
    c.Check(s.MessageWindow() == nullptr, "a message window exists");
    c.Expect(Text(s.Main()), kMainCaption, "the caption");
  });

  report.Run("main_window_layout", [&](Case& c) {
    if (!c.Check(started, why)) return;
    RECT client{};
    GetClientRect(s.Main(), &client);
    c.Check(client.right == 622 && client.bottom == 336, "client area " + RectText(client) + ", expected 622x336");
    for (const Placement& p : kLayout) {
      const HWND control = s.Control(p.id);
      if (!c.Check(control != nullptr, std::string(ids::NameOf(p.id)) + " is no child window")) continue;
      c.Check(IsWindowVisible(control) != FALSE, std::string(ids::NameOf(p.id)) + " is hidden");
      const RECT r = RectInClient(control, s.Main());
      const RECT want{p.left / 15, p.top / 15, (p.left + p.width) / 15, (p.top + p.height) / 15};
      // A closed drop-down combo box takes the height its font gives it.
      const bool heightOk = p.id == ids::Combo_Pass ? std::abs((r.bottom - r.top) - (want.bottom - want.top)) <= 3
                                                    : r.bottom == want.bottom;
      c.Check(r.left == want.left && r.top == want.top && r.right == want.right && heightOk,
              std::string(ids::NameOf(p.id)) + " at " + RectText(r) + ", expected " + RectText(want));
    }
  });

  report.Run("main_window_captions", [&](Case& c) {
    if (!c.Check(started, why)) return;
    for (const Caption& caption : kCaptions) c.Expect(Text(s.Control(caption.id)), caption.text, ids::NameOf(caption.id));
    c.Check(!Text(s.Control(ids::Label_C)).empty(), "Label_C is empty");
    c.Check(!Text(s.Control(ids::Label_URL)).empty(), "Label_URL is empty");
  });

  report.Run("status_rows_show_tooltip", [&](Case& c) {
    if (!c.Check(started, why)) return;
    for (int id : {ids::Status_Cookies, ids::Status_History}) {
      const char* name = ids::NameOf(id);
      MoveTo({10, 1000});
      c.Check(WaitFor([&] { return ShownTooltip(s.Pid()) == nullptr; }, kEffectTimeoutMs),
              "a tool tip stays with the pointer off the window");
      MoveTo(CentreOnScreen(s.Control(id)));
      HWND tip = nullptr;
      WaitFor([&] { return (tip = ShownTooltip(s.Pid())) != nullptr; }, kEffectTimeoutMs);
      if (c.Check(tip != nullptr, std::string("no tool tip over ") + name + " within 20 s"))
        c.Expect(Text(tip), L"Click for details", std::string("the tool tip over ") + name);
    }
    MoveTo({10, 1000});
  });

  report.Run("pass_list_at_start", [&](Case& c) {
    if (!c.Check(started, why)) return;
    ExpectFirstPassSelected(c, s, "at start");
    ExpectWipeState(c, s, 0, "at start");
  });

  report.Run("wipe_box_click_toggles_pass_list", [&](Case& c) {
    if (c.Check(started, why)) ToggleBy(c, s, ids::Check_Wipe, "Check_Wipe");
  });

  report.Run("wipe_label_click_toggles_pass_list", [&](Case& c) {
    if (c.Check(started, why)) ToggleBy(c, s, ids::Label_Wipe, "Label_Wipe");
  });

  report.Run("mouse_choice_survives_untick_and_tick", [&](Case& c) {
    if (!c.Check(started, why)) return;
    std::string how;
    if (!Clicked(c, s, ids::Check_Wipe, "Check_Wipe")) return;
    WaitFor([&] { return IsWindowEnabled(s.Control(ids::Combo_Pass)) != FALSE; }, kEffectTimeoutMs);
    const bool chosen = ChoosePassByMouse(s, 2, how);
    c.Check(chosen, "cannot choose item 2: " + how);
    if (how != "mouse") report.Note("pass list choice: " + how);
    for (int ticked : {0, 1}) {
      if (!Clicked(c, s, ids::Check_Wipe, "Check_Wipe")) return;
      WaitFor([&] { return CheckState(s.Control(ids::Check_Wipe)) == ticked; }, kEffectTimeoutMs);
    }
    ExpectWipeState(c, s, 1, "after unticking and ticking");
    const ComboState combo = ReadCombo(s.Control(ids::Combo_Pass));
    c.Check(combo.selection == 2, "selection " + std::to_string(combo.selection) + " after untick and tick, expected 2");
    c.Expect(combo.text, kPassItems[2], "the text field");
  });

  report.Run("key_release_in_pass_list_refills_it", [&](Case& c) {
    if (!c.Check(started, why)) return;
    const HWND combo = s.Control(ids::Combo_Pass);
    if (!c.Check(IsWindowEnabled(combo) != FALSE, "the pass list is disabled")) return;
    for (WORD key : {WORD{'7'}, WORD{VK_DOWN}, WORD{VK_SHIFT}}) {
      std::string how;
      ChoosePassByMouse(s, 1, how);
      // Focus the text field with a click on its left end, then type.
      RECT r{};
      GetWindowRect(combo, &r);
      std::string clickWhy;
      if (const bool clicked = ClickControlAt(combo, {r.left + 12, r.top + 10}, clickWhy);
          !c.Check(clicked, "the text field: " + clickWhy))
        return;
      if (!c.Check(WaitFor([&] { return GetParent(FocusOf(combo)) == combo; }, kEffectTimeoutMs),
                   "the click does not focus the pass list's text field"))
        return;
      TapKey(key);
      WaitFor([&] { return ReadCombo(combo).selection == 0; }, kEffectTimeoutMs);
      ExpectFirstPassSelected(c, s, "after key " + std::to_string(key));
    }
  });

  report.Run("remove_before_scan_is_refused", [&](Case& c) {
    if (!c.Check(started, why)) return;
    if (!Clicked(c, s, ids::Command_Remove, "Command_Remove")) return;
    ExpectMessageBox(c, s, L"Scan your system first!", L"Veltrane", false, IDOK);
    for (int id : {ids::Status_Cookies, ids::Status_History, ids::Status_Cache})
      c.Expect(Text(s.Control(id)), L"", "status row " + std::to_string(id));
  });

  report.Run("details_before_scan_are_refused", [&](Case& c) {
    if (!c.Check(started, why)) return;
    for (int id : {ids::Status_Cookies, ids::Label_History_Details}) {
      const char* name = ids::NameOf(id);
      if (!Clicked(c, s, id, name)) continue;
      ExpectMessageBox(c, s, L"Scan your system first!", L"Veltrane", false, IDOK);
      c.Check(!IsShown(s.DetailsWindow()), std::string("the details window shows after a click on ") + name);
    }
  });

  report.Run("close_main_window_ends_program", [&](Case& c) {
    if (!c.Check(started, why)) return;
    std::string closeWhy;
    c.Check(s.Close(closeWhy), closeWhy);
  });
}

}  // namespace

void RunStartupCases(Report& report, const Settings& settings) {
  WithBrowserWindow(report, settings);
  WithoutBrowserWindow(report, settings);
}

bool ChoosePassByMouse(const Session& session, int index, std::string& how) {
  const HWND combo = session.Control(veltrane::ids::Combo_Pass);
  RECT r{};
  GetWindowRect(combo, &r);
  auto dropDown = [&] {
    return FindTopWindow(session.Pid(), [](HWND w) { return IsWindowVisible(w) && ClassName(w) == L"ComboLBox"; });
  };
  std::string why;
  HWND list = nullptr;
  if (!ClickControlAt(combo, {r.right - 8, r.top + 10}, why)) {  // the drop-down arrow
    how = "the arrow: " + why;
  } else if (WaitFor([&] { return (list = dropDown()) != nullptr; }, kEffectTimeoutMs)) {
    DWORD_PTR itemHeight = 0;
    SendMessageTimeoutW(combo, CB_GETITEMHEIGHT, 0, 0, SMTO_ABORTIFHUNG, 3000, &itemHeight);
    RECT lr{};
    GetWindowRect(list, &lr);
    const POINT item{(lr.left + lr.right) / 2,
                     lr.top + 1 + static_cast<int>(itemHeight) * index + static_cast<int>(itemHeight) / 2};
    if (ClickControlAt(list, item, why) &&
        WaitFor([&] { return ReadCombo(combo).selection == index && !dropDown(); }, kEffectTimeoutMs)) {
      how = "mouse";
      return true;
    }
    how = "the click on the drop-down list did not select item " + std::to_string(index) +
          (why.empty() ? "" : ": " + why);
  } else {
    how = "no drop-down list after a click on the arrow";
  }
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(combo, CB_SHOWDROPDOWN, FALSE, 0, SMTO_ABORTIFHUNG, 3000, &ignored);
  SendMessageTimeoutW(combo, CB_SETCURSEL, index, 0, SMTO_ABORTIFHUNG, 3000, &ignored);
  how += "; fell back to CB_SETCURSEL";
  return ReadCombo(combo).selection == index;
}

bool Clicked(Case& c, const Session& session, int id, const std::string& what, HWND top) {
  std::string why;
  if (session.ClickIn(top ? top : session.Main(), id, why)) return true;
  c.Fail("cannot click " + what + ": " + why);
  return false;
}

void ExpectMessageBox(Case& c, const Session& session, const std::wstring& text, const std::wstring& title,
                      bool okCancel, int answer) {
  const MessageBoxSeen box = WaitMessageBox(session.Pid(), kEffectTimeoutMs);
  if (!c.Check(box.box != nullptr, "no message box " + Quote(text) + " within 20 s")) return;
  c.Expect(box.text, text, "the message box text");
  c.Expect(box.title, title, "the message box title");
  c.Check(box.hasOk, "the message box has no OK button");
  c.Check(box.hasCancel == okCancel, okCancel ? "the message box has no Cancel button" : "the message box has a Cancel button");
  std::string how;
  const bool answered = AnswerMessageBox(box.box, answer, how);
  c.Check(answered, "the message box stays after the answer: " + how);
  if (how != "clicked") std::printf("NOTE message box %s: %s\n", Quote(text).c_str(), how.c_str());
}

}  // namespace e2e
