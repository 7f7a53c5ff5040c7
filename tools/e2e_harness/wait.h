#pragma once
#include <windows.h>

#include <functional>

namespace e2e {

// Every wait is for a condition and has a deadline; the deadlines are
// generous, so that a loaded machine makes a run slower, not red. The
// harness's own messages run meanwhile, so the browser windows it shows to the
// program stay responsive.
constexpr DWORD kReadyTimeoutMs = 20000;   // until a window can take a click
constexpr DWORD kEffectTimeoutMs = 20000;  // until what a click causes shows

bool WaitFor(const std::function<bool()>& ready, DWORD timeoutMs);
// Until the program that owns `window` has taken every input queued for it and
// waits for more (WaitForInputIdle).
bool WaitProgramIdle(HWND window, DWORD timeoutMs = kEffectTimeoutMs);
// Runs what is queued for the harness's own windows, without waiting.
void PumpOwnMessages();

}  // namespace e2e
