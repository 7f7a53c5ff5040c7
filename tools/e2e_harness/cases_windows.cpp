// The main window as a user meets it: clicks on the rows where controls
// overlap, and the web link's real road (the program asks the shell to open
// its address, the shell starts the handler registered for https in this
// prefix, and the handler, this harness's "opened", records what it got).
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <set>

#include "core/control_ids.h"
#include "platform/win32/handles.h"
#include "cases.h"
#include "input.h"
#include "probe.h"
#include "wait.h"

namespace e2e {

namespace {

constexpr const wchar_t* kAddress = L"https://www.veltrane.example";

// Wine 8's shell follows the handler under HKEY_CLASSES_ROOT only, not one
// under HKCU\Software\Classes. The test prefix is a fresh copy for each run.
bool RegisterHandler(const std::wstring& record, std::string& why) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring command = L"\"" + std::wstring(self) + L"\" opened \"" + record + L"\" \"%1\"";
  HKEY created = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &created, nullptr);
  if (status == ERROR_SUCCESS) {
    const veltrane::win32::KeyHandle key(created);
    status = RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
  }
  if (status != ERROR_SUCCESS) why = "cannot register the https handler: error " + std::to_string(status);
  return status == ERROR_SUCCESS;
}

std::string ReadAll(const std::wstring& path) {
  std::string text;
  if (FILE* in = _wfopen(path.c_str(), L"rb")) {
    char chunk[256];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in)) > 0;) text.append(chunk, n);
    std::fclose(in);
  }
  return text;
}

// The processes running now, by id.
std::set<DWORD> ProcessIds() {
  std::set<DWORD> ids;
  // Same failure value and closing as a file handle.
  const veltrane::win32::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
    ids.insert(entry.th32ProcessID);
  return ids;
}

}  // namespace

int RecordOpened(const wchar_t* record, const wchar_t* address) {
  STARTUPINFOW startup{};
  GetStartupInfoW(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1;
  FILE* out = _wfopen(record, L"ab");
  if (!out) return 1;
  std::fprintf(out, "%s show=%d\n", Utf8(address).c_str(), show);
  std::fclose(out);
  return 0;
}

void RunWindowCases(Report& report, const Settings& settings) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring record = std::wstring(temp) + L"veltrane-opened.txt";
  DeleteFileW(record.c_str());
  std::string registerWhy;
  const bool registered = RegisterHandler(record, registerWhy);
  Session s(settings);
  std::string why;
  const bool started = s.Start(why);

  report.Run("link_click_opens_the_address_in_the_https_handler", [&](Case& c) {
    if (!c.Check(registered, registerWhy) || !c.Check(started, why)) return;
    const std::set<DWORD> before = ProcessIds();
    if (!Clicked(c, s, veltrane::ids::Label_URL, "Label_URL")) return;
    const std::string expected = Utf8(kAddress) + " show=" + std::to_string(SW_SHOWMINIMIZED) + "\n";
    c.Check(WaitFor([&] { return !ReadAll(record).empty(); }, kEffectTimeoutMs), "the handler got nothing within 20 s");
    // Once the program is idle again every start the click asked for is made;
    // once what they started has ended (the handler, the console Wine gives
    // it), each handler has written its line and no window of theirs can
    // take the foreground from the next case.
    const auto startedEnded = [&] {
      const std::set<DWORD> now = ProcessIds();
      return std::includes(before.begin(), before.end(), now.begin(), now.end());
    };
    c.Check(WaitProgramIdle(s.Main()) && WaitFor(startedEnded, kEffectTimeoutMs),
            "the program or what its click started is still busy 20 s after the click");
    const std::string got = ReadAll(record);
    c.Check(got == expected, "the handler received \"" + got + "\", expected \"" + expected + "\"");
    c.Check(s.Running(), "the program ended");
  });

  // Label2 ends on the top row of Check_Wipe, Label_Wipe on the top row of
  // Combo_Pass: a click there belongs to the input control.
  report.Run("clicks_on_the_top_rows_of_the_wipe_box_and_pass_list_reach_them", [&](Case& c) {
    if (!c.Check(started, why)) return;
    const HWND box = s.Control(veltrane::ids::Check_Wipe);
    const HWND combo = s.Control(veltrane::ids::Combo_Pass);
    RECT r{};
    GetWindowRect(box, &r);
    std::string clickWhy;
    if (const bool clicked = ClickControlAt(box, {(r.left + r.right) / 2, r.top}, clickWhy);
        !c.Check(clicked, "the wipe box: " + clickWhy))
      return;
    c.Check(WaitFor([&] { return CheckState(box) == 1 && IsWindowEnabled(combo); }, kEffectTimeoutMs),
            "a click on the wipe box's top row did not tick it");
    GetWindowRect(combo, &r);
    if (const bool clicked = ClickWhenReady(combo, {r.left + 20, r.top}, clickWhy);
        !c.Check(clicked, "the pass list: " + clickWhy))
      return;
    c.Check(WaitFor([&] { return IsChild(combo, FocusOf(combo)); }, kEffectTimeoutMs),
            "a click on the pass list's top row did not focus its text field");
    c.Check(CheckState(box) == 1, "a click on the pass list's top row toggled the wipe box");
  });
}

}  // namespace e2e
