#include "launched.h"

#include "probe.h"
#include "wait.h"

namespace e2e {

namespace {
constexpr DWORD kEndTimeoutMs = 20000;

std::string ErrorText(DWORD error) { return "error " + std::to_string(error); }
}  // namespace

Launched::~Launched() {
  if (Running()) {
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), kEndTimeoutMs);
  }
}

bool Launched::Start(const std::wstring& exe, std::string& why) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + exe + L"\"";
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    why = "cannot start " + Utf8(exe) + ": " + ErrorText(GetLastError());
    return false;
  }
  process_.Reset(started.hProcess);
  thread_.Reset(started.hThread);
  pid_ = started.dwProcessId;
  return true;
}

bool Launched::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

HWND Launched::VisibleWindow(const std::function<bool(HWND)>& match) const {
  return FindTopWindow(pid_, [&](HWND w) { return IsWindowVisible(w) && (!match || match(w)); });
}

bool Launched::WaitEnded(DWORD timeoutMs) const {
  return WaitFor([&] { return !Running(); }, timeoutMs);
}

bool Launched::Kill(std::string& why) {
  if (!Running()) {
    why = "the program had already ended";
    return false;
  }
  if (!TerminateProcess(process_.Get(), 1)) {
    why = "TerminateProcess failed: " + ErrorText(GetLastError());
    return false;
  }
  if (WaitForSingleObject(process_.Get(), kEndTimeoutMs) != WAIT_OBJECT_0) {
    why = "the process still runs 20 s after it was killed";
    return false;
  }
  return true;
}

}  // namespace e2e
