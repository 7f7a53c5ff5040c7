#include "platform/win32/win32_event_pump.h"

#include <windows.h>

namespace veltrane::win32 {

void Win32EventPump::DoEvents() {
  const std::uint64_t now = GetTickCount64();
  if (now - lastPump_ < intervalMs_) return;
  lastPump_ = now;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    // WM_QUIT belongs to the outer message loop, which ends the program on it.
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace veltrane::win32
