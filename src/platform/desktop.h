#pragma once
#include <cstdint>
#include <string>

namespace veltrane::platform {

using WindowHandle = std::uintptr_t;  // 0 = no window

// The top-level windows of the desktop, as the start-up walk reads them.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // The top window of the z-order (GetWindow GW_HWNDFIRST from `any`); 0 if none.
  virtual WindowHandle First(WindowHandle any) = 0;
  // The window below `h` in z-order; 0 after the last or for a vanished window.
  virtual WindowHandle Next(WindowHandle h) = 0;
  virtual WindowHandle Owner(WindowHandle h) = 0;  // 0 when unowned
  virtual bool IsVisible(WindowHandle h) = 0;
  virtual int TitleLength(WindowHandle h) = 0;     // 0 when untitled or gone
  // At most capacity - 1 characters of the title; returns the count copied.
  virtual int Title(WindowHandle h, std::string& title, int capacity) = 0;
};

}  // namespace veltrane::platform
