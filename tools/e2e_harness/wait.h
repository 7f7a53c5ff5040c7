#pragma once
#include <windows.h>

#include <functional>

namespace e2e {

// Every wait has a deadline. The harness's own messages run meanwhile, so the
// browser window it shows to the program stays responsive.
void PumpFor(DWORD ms);
bool WaitFor(const std::function<bool()>& ready, DWORD timeoutMs, DWORD stepMs = 25);

}  // namespace e2e
