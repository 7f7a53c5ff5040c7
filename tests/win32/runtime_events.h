#pragma once
#include <windows.h>

#include <chrono>

#include "platform/win32/win32_runtime.h"

namespace veltrane::win32 {

// Lets events run for about `ms`, through the runtime's own pump.
inline void RunEventsFor(Win32Runtime& runtime, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    Sleep(2);
    runtime.DoEvents();
  }
}

// A child window's rectangle in its parent's client area.
inline RECT RectInParent(HWND child, HWND parent) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace veltrane::win32
