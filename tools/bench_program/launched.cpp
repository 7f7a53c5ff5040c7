#include "launched.h"

#include <psapi.h>

#include "e2e_harness/probe.h"
#include "timing.h"

namespace bench {

namespace {
constexpr DWORD kEndTimeoutMs = 5000;
constexpr double kMiB = 1024.0 * 1024.0;
}  // namespace

Launched::Launched(const std::wstring& exe) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + exe + L"\"";
  Check(CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process_) != 0,
        "cannot start " + e2e::Utf8(exe) + " (error " + std::to_string(GetLastError()) + ")");
}

Launched::~Launched() {
  if (Running()) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, kEndTimeoutMs);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool Launched::Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

HWND Launched::VisibleWindow() const {
  return e2e::FindTopWindow(Pid(), [](HWND w) { return IsWindowVisible(w) != FALSE; });
}

HWND Launched::VisibleWindow(const std::function<bool(HWND)>& match) const {
  return e2e::FindTopWindow(Pid(), [&](HWND w) { return IsWindowVisible(w) && match(w); });
}

MemoryPeak Launched::Peak() const {
  PROCESS_MEMORY_COUNTERS counters{};
  Check(GetProcessMemoryInfo(process_.hProcess, &counters, sizeof counters) != 0,
        "GetProcessMemoryInfo failed (error " + std::to_string(GetLastError()) + ")");
  return {counters.PeakWorkingSetSize / kMiB, counters.PeakPagefileUsage / kMiB};
}

bool WaitUntil(const std::function<bool()>& ready, double seconds, DWORD stepMs) {
  const double deadline = Seconds() + seconds;
  for (;;) {
    if (ready()) return true;
    if (Seconds() >= deadline) return false;
    Sleep(stepMs);
  }
}

std::wstring HeldText(HWND window) {
  wchar_t text[256];
  const int length = InternalGetWindowText(window, text, 256);
  return std::wstring(text, length > 0 ? length : 0);
}

void PointAt(HWND window) {
  const POINT centre = e2e::CentreOnScreen(window);
  Check(GetAncestor(WindowFromPoint(centre), GA_ROOT) == GetAncestor(window, GA_ROOT),
        "another window covers the control to click");
  SetCursorPos(centre.x, centre.y);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &move, sizeof move);
  Sleep(20);
}

double Press() {
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  const double at = Seconds();
  SendInput(2, press, sizeof press[0]);
  return at;
}

}  // namespace bench
