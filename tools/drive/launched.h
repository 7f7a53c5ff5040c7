#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "platform/win32/handles.h"

namespace e2e {

// A program started from outside; terminated, if it still runs, when this goes.
class Launched {
 public:
  Launched() = default;
  ~Launched();
  Launched(const Launched&) = delete;
  Launched& operator=(const Launched&) = delete;

  // Starts `exe` with no arguments.
  bool Start(const std::wstring& exe, std::string& why);
  bool Running() const;
  DWORD Pid() const { return pid_; }
  HANDLE Process() const { return process_.Get(); }
  // A visible top-level window of the process that `match` accepts, or null.
  HWND VisibleWindow(const std::function<bool(HWND)>& match = {}) const;
  // Until the process has ended, looked at as WaitFor does.
  bool WaitEnded(DWORD timeoutMs) const;
  // Ends the process as a crash or the task manager would (TerminateProcess)
  // and waits for it to be gone.
  bool Kill(std::string& why);

 private:
  veltrane::win32::ProcessHandle process_;
  veltrane::win32::ThreadHandle thread_;
  DWORD pid_ = 0;
};

}  // namespace e2e
