#include "wait.h"

#include "platform/win32/handles.h"

namespace e2e {

void PumpOwnMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool WaitFor(const std::function<bool()>& ready, DWORD timeoutMs, Pace pace) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (ready()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    if (!pace.runOwnMessages) {
      Sleep(pace.stepMs);
      continue;
    }
    PumpOwnMessages();
    // Until the next look, or sooner when a message for our own windows comes.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, pace.stepMs, QS_ALLINPUT);
  }
}

bool WaitProgramIdle(HWND window, DWORD timeoutMs) {
  DWORD pid = 0;
  if (!window || !GetWindowThreadProcessId(window, &pid)) return false;
  const veltrane::win32::ProcessHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid));
  if (!process) return false;
  bool idle = false;
  // Polled, so that our own windows keep answering meanwhile; an ended
  // program ends the wait.
  WaitFor(
      [&] {
        idle = WaitForInputIdle(process.Get(), 0) == 0;
        return idle || WaitForSingleObject(process.Get(), 0) == WAIT_OBJECT_0;
      },
      timeoutMs);
  return idle;
}

}  // namespace e2e
