#include "wait.h"

#include "platform/win32/handles.h"

namespace e2e {

namespace {
struct ProcessHandleTraits {
  using Handle = HANDLE;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { CloseHandle(h); }
};
using ProcessHandle = veltrane::win32::Owner<ProcessHandleTraits>;  // OpenProcess: null on failure
}  // namespace

void PumpOwnMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool WaitFor(const std::function<bool()>& ready, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (ready()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    PumpOwnMessages();
    // Until the next poll, or sooner when a message for our own windows comes.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

bool WaitProgramIdle(HWND window, DWORD timeoutMs) {
  DWORD pid = 0;
  if (!window || !GetWindowThreadProcessId(window, &pid)) return false;
  const ProcessHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid));
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
