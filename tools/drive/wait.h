#pragma once
#include <windows.h>

#include <functional>

namespace e2e {

// Every wait is for a condition and has a deadline; the deadlines are
// generous, so that a loaded machine makes a run slower, not red.
constexpr DWORD kReadyTimeoutMs = 20000;   // until a window can take a click
constexpr DWORD kEffectTimeoutMs = 20000;  // until what a click causes shows

// How a wait spends the time between two looks at its condition. The harness
// runs its own messages meanwhile, so that the browser windows it shows to the
// program stay responsive. The benchmark shows none and only sleeps: under
// Wine every message call is a round trip to the one wine server, which the
// program waits on for each file it deletes, so a long task is polled slowly
// or the polling becomes part of what it measures.
struct Pace {
  DWORD stepMs = 10;
  bool runOwnMessages = true;
};
constexpr Pace kEveryMillisecond{1, false};

bool WaitFor(const std::function<bool()>& ready, DWORD timeoutMs, Pace pace = {});
// Until the program that owns `window` has taken every input queued for it and
// waits for more (WaitForInputIdle).
bool WaitProgramIdle(HWND window, DWORD timeoutMs = kEffectTimeoutMs);
// Runs what is queued for the harness's own windows, without waiting.
void PumpOwnMessages();

}  // namespace e2e
