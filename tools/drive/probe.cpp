#include "probe.h"

namespace e2e {

namespace {
// Long enough for a loaded machine; a program that stops answering for good
// still fails the read instead of hanging us.
constexpr UINT kSendTimeoutMs = 10000;

bool Send(HWND window, UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  DWORD_PTR out = 0;
  if (!SendMessageTimeoutW(window, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, kSendTimeoutMs, &out))
    return false;
  result = static_cast<LRESULT>(out);
  return true;
}

struct FindArgs {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND child, LPARAM l) {
  auto* a = reinterpret_cast<FindArgs*>(l);
  if (GetDlgCtrlID(child) != a->id) return TRUE;
  a->found = child;
  return FALSE;
}

struct ProcessWindows {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOfProcess(HWND window, LPARAM l) {
  auto* a = reinterpret_cast<ProcessWindows*>(l);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == a->pid) a->found.push_back(window);
  return TRUE;
}
// The messages that read a list box's or a combo box's items, and its error value.
struct ItemMessages {
  UINT count, length, text;
  LRESULT error;
};

// Sent wide: the ANSI form hands back only the first character across processes.
std::vector<std::wstring> Items(HWND control, const ItemMessages& m) {
  std::vector<std::wstring> items;
  LRESULT count = 0;
  if (!Send(control, m.count, 0, 0, count) || count == m.error) return items;
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = 0;
    Send(control, m.length, i, 0, length);
    std::wstring item(length > 0 ? static_cast<size_t>(length) + 1 : 1, L'\0');
    LRESULT copied = 0;
    if (!Send(control, m.text, i, reinterpret_cast<LPARAM>(item.data()), copied) || copied == m.error)
      copied = 0;
    item.resize(static_cast<size_t>(copied));
    items.push_back(item);
  }
  return items;
}
}  // namespace

std::wstring Text(HWND window) {
  LRESULT length = 0;
  if (!window || !Send(window, WM_GETTEXTLENGTH, 0, 0, length) || length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = 0;
  if (!Send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), copied)) return {};
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::wstring HeldText(HWND window) {
  wchar_t text[256];
  const int length = InternalGetWindowText(window, text, 256);
  return std::wstring(text, length > 0 ? length : 0);
}

std::vector<std::wstring> ListLines(HWND list) {
  if (!list) return {};
  return Items(list, {LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT, LB_ERR});
}

ComboState ReadCombo(HWND combo) {
  ComboState state;
  if (!combo) return state;
  state.items = Items(combo, {CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT, CB_ERR});
  LRESULT selection = CB_ERR;
  Send(combo, CB_GETCURSEL, 0, 0, selection);
  state.selection = static_cast<int>(selection);
  state.enabled = IsWindowEnabled(combo) != FALSE;
  state.text = Text(combo);
  return state;
}

std::wstring ClassName(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

bool IsShown(HWND window) { return window && IsWindowVisible(window); }

HWND FindControl(HWND top, int id) {
  if (!top) return nullptr;
  FindArgs args{id, nullptr};
  EnumChildWindows(top, MatchId, reinterpret_cast<LPARAM>(&args));
  return args.found;
}

std::vector<HWND> TopWindows(DWORD pid) {
  ProcessWindows args{pid, {}};
  EnumWindows(CollectOfProcess, reinterpret_cast<LPARAM>(&args));
  return args.found;
}

HWND FindTopWindow(DWORD pid, const std::function<bool(HWND)>& match) {
  for (HWND window : TopWindows(pid))
    if (match(window)) return window;
  return nullptr;
}

RECT RectInClient(HWND control, HWND top) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

POINT CentreOnScreen(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                       nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                      nullptr);
  return out;
}

std::string Quote(const std::wstring& text) {
  std::string out = "\"";
  for (char c : Utf8(text)) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out + "\"";
}

}  // namespace e2e

namespace e2e {
int CheckState(HWND checkBox) {
  DWORD_PTR out = 0;
  if (!checkBox || !SendMessageTimeoutW(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &out)) return -1;
  return static_cast<int>(out);
}
}  // namespace e2e
