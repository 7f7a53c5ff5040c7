#include "platform/win32/win32_desktop.h"

#include <windows.h>

#include "platform/win32/utf.h"

namespace veltrane::win32 {

namespace {

HWND Hwnd(platform::WindowHandle h) { return reinterpret_cast<HWND>(h); }
platform::WindowHandle Handle(HWND h) { return reinterpret_cast<platform::WindowHandle>(h); }

// The whole title in UTF-8; empty when the window has none or is gone.
std::string FullTitle(HWND h) {
  const int length = GetWindowTextLengthW(h);
  if (length <= 0) return {};
  std::wstring text(length + 1, L'\0');
  const int got = GetWindowTextW(h, text.data(), length + 1);
  text.resize(got > 0 ? got : 0);
  return Narrow(text);
}

}  // namespace

// Failure (no window at all): 0. Without a window to start from, the top of the desktop.
platform::WindowHandle Win32Desktop::First(platform::WindowHandle any) {
  return Handle(any ? GetWindow(Hwnd(any), GW_HWNDFIRST) : GetTopWindow(nullptr));
}

// Failure (after the last, or the window has gone): 0.
platform::WindowHandle Win32Desktop::Next(platform::WindowHandle h) {
  return Handle(GetWindow(Hwnd(h), GW_HWNDNEXT));
}

platform::WindowHandle Win32Desktop::Owner(platform::WindowHandle h) {
  return Handle(GetWindow(Hwnd(h), GW_OWNER));
}

bool Win32Desktop::IsVisible(platform::WindowHandle h) { return IsWindowVisible(Hwnd(h)) != FALSE; }

int Win32Desktop::TitleLength(platform::WindowHandle h) { return int(FullTitle(Hwnd(h)).size()); }

// Failure (window gone, capacity below 2): 0 and an empty title.
int Win32Desktop::Title(platform::WindowHandle h, std::string& title, int capacity) {
  title = capacity > 1 ? CutUtf8(FullTitle(Hwnd(h)), std::size_t(capacity - 1)) : std::string();
  return int(title.size());
}

}  // namespace veltrane::win32
