#pragma once
#include <windows.h>

#include <exception>

namespace veltrane::win32 {

// Every window procedure runs its handler through this: no exception may
// unwind into user32. A handler that throws has stopped where it was; the
// program goes on with the next event, as it would after any other event.
template <typename Handler>
LRESULT CallGuarded(Handler&& handler) noexcept {
  try {
    return handler();
  } catch (const std::exception& e) {
    OutputDebugStringA(e.what());
  } catch (...) {
    OutputDebugStringA("veltrane: unknown exception in an event handler");
  }
  return 0;
}

}  // namespace veltrane::win32
