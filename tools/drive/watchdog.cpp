#include "watchdog.h"

#include <cstdio>

#include "platform/win32/handles.h"

namespace e2e {

namespace {
struct Deadline {
  DWORD seconds;
  std::function<void()> expired;
};

DWORD WINAPI Watch(void* arg) {
  // Kept for the life of the process, which this thread may end.
  const auto* deadline = static_cast<const Deadline*>(arg);
  Sleep(deadline->seconds * 1000);
  deadline->expired();
  std::fflush(stdout);
  std::fflush(stderr);
  ExitProcess(1);
}
}  // namespace

void StartWatchdog(DWORD seconds, std::function<void()> expired) {
  const veltrane::win32::ThreadHandle watch(
      CreateThread(nullptr, 0, Watch, new Deadline{seconds, std::move(expired)}, 0, nullptr));
}

}  // namespace e2e
