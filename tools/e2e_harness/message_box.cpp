#include "message_box.h"

#include "input.h"
#include "probe.h"
#include "wait.h"

namespace e2e {

namespace {
bool IsMessageBox(HWND window) { return IsWindowVisible(window) && ClassName(window) == L"#32770"; }

BOOL CALLBACK FirstStaticText(HWND child, LPARAM l) {
  auto* out = reinterpret_cast<std::wstring*>(l);
  if (_wcsicmp(ClassName(child).c_str(), L"Static") != 0) return TRUE;
  std::wstring text = Text(child);
  if (text.empty()) return TRUE;
  *out = text;
  return FALSE;
}

std::wstring PromptOf(HWND box) {
  std::wstring prompt;
  EnumChildWindows(box, FirstStaticText, reinterpret_cast<LPARAM>(&prompt));
  return prompt;
}
}  // namespace

MessageBoxSeen WaitMessageBox(DWORD pid, DWORD timeoutMs) {
  MessageBoxSeen seen;
  WaitFor([&] { return (seen.box = FindTopWindow(pid, IsMessageBox)) != nullptr; }, timeoutMs);
  if (!seen.box) return seen;
  seen.title = Text(seen.box);
  seen.text = PromptOf(seen.box);
  seen.hasOk = IsShown(GetDlgItem(seen.box, IDOK));
  seen.hasCancel = IsShown(GetDlgItem(seen.box, IDCANCEL));
  return seen;
}

bool AnswerMessageBox(HWND box, int buttonId, std::string& how) {
  const HWND button = GetDlgItem(box, buttonId);
  std::string why;
  if (button && ClickControl(button, why) &&
      WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kEffectTimeoutMs)) {
    how = "clicked";
    return true;
  }
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  how = "click did not close it (" + why + "), posted WM_COMMAND";
  return WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kEffectTimeoutMs);
}

}  // namespace e2e
