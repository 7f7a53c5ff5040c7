#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Reading another process's windows. Every call is a SendMessageTimeout, so a
// program that stops answering makes the read fail instead of hanging us.

std::wstring Text(HWND window);  // WM_GETTEXT, wide
// The window manager's copy of a window's text, read without a message: a
// program busy between two event pumps neither delays the read nor is slowed
// by it. The program sets it each time it lets events run.
std::wstring HeldText(HWND window);
// LB_GETCOUNT + LB_GETTEXT; under Wine LB_GETTEXT must be sent wide across
// processes, the ANSI form hands back only the first character.
std::vector<std::wstring> ListLines(HWND list);

struct ComboState {
  std::vector<std::wstring> items;
  int selection = CB_ERR;  // CB_GETCURSEL
  bool enabled = false;
  std::wstring text;       // the edit field
};
ComboState ReadCombo(HWND combo);

std::wstring ClassName(HWND window);
bool IsShown(HWND window);  // IsWindowVisible
// The control with this child id anywhere below `top`; null if none.
HWND FindControl(HWND top, int id);
// Top-level windows of one process; the first that `match` accepts, or null.
HWND FindTopWindow(DWORD pid, const std::function<bool(HWND)>& match);
std::vector<HWND> TopWindows(DWORD pid);
// The control's window rectangle in the client coordinates of `top`.
RECT RectInClient(HWND control, HWND top);
POINT CentreOnScreen(HWND window);

std::string Utf8(const std::wstring& text);
// For messages: the text in quotes with CR and LF spelled out.
std::string Quote(const std::wstring& text);

}  // namespace e2e

namespace e2e {
int CheckState(HWND checkBox);  // BM_GETCHECK; -1 when it does not answer
}  // namespace e2e
