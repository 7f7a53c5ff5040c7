#pragma once
#include <windows.h>

#include <functional>

namespace e2e {

// A run has a deadline: whatever hangs, it ends. After `seconds`, a thread of
// its own calls `expired` (which says so) and ends the process with exit code 1.
void StartWatchdog(DWORD seconds, std::function<void()> expired);

}  // namespace e2e
