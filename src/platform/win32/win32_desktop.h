#pragma once
#include "platform/desktop.h"

namespace veltrane::win32 {

// Top-level windows through user32. Titles are UTF-8, so their lengths count
// UTF-8 bytes: a title read with capacity TitleLength + 1 comes back whole.
class Win32Desktop : public platform::Desktop {
 public:
  platform::WindowHandle First(platform::WindowHandle any) override;
  platform::WindowHandle Next(platform::WindowHandle h) override;
  platform::WindowHandle Owner(platform::WindowHandle h) override;
  bool IsVisible(platform::WindowHandle h) override;
  int TitleLength(platform::WindowHandle h) override;
  int Title(platform::WindowHandle h, std::string& title, int capacity) override;
};

}  // namespace veltrane::win32
