#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace bench {

struct MemoryPeak {
  double workingSetMiB = 0;  // PeakWorkingSetSize
  double privateMiB = 0;     // PeakPagefileUsage
};

// A program the bench started; terminated, if it still runs, when this goes.
class Launched {
 public:
  explicit Launched(const std::wstring& exe);
  ~Launched();
  Launched(const Launched&) = delete;
  Launched& operator=(const Launched&) = delete;

  bool Running() const;
  DWORD Pid() const { return process_.dwProcessId; }
  // The first visible top-level window of the process, null while there is none.
  HWND VisibleWindow() const;
  // A visible top-level window of the process that `match` accepts, or null.
  HWND VisibleWindow(const std::function<bool(HWND)>& match) const;
  MemoryPeak Peak() const;

 private:
  PROCESS_INFORMATION process_{};
};

// Polls `ready` every `stepMs` milliseconds; false when `seconds` pass first.
// Under Wine every look at another process's windows is a round trip to the
// one wine server, which the program waits on for each file it deletes: a
// long task is polled slowly, or the polling becomes part of what it measures.
bool WaitUntil(const std::function<bool()>& ready, double seconds, DWORD stepMs = 1);

// The window manager's copy of a window's text, read without a message, so a
// program busy between two event pumps neither delays the read nor is slowed by it.
std::wstring HeldText(HWND window);

// Real input as a user gives it: the pointer is put over the window's centre
// (refused when another top-level window covers it), then Press sends the
// button down and up in one go and returns when it did.
void PointAt(HWND window);
double Press();

}  // namespace bench
