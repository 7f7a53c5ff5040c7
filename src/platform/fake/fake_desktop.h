#pragma once
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace veltrane::fake {

// Top-level windows in z-order, top first.
class FakeDesktop : public platform::Desktop {
 public:
  struct Window {
    platform::WindowHandle handle = 0;
    std::string title;
    bool visible = true;
    platform::WindowHandle owner = 0;
  };

  void AddWindow(Window window) { windows_.push_back(std::move(window)); }
  void Remove(platform::WindowHandle h);

  platform::WindowHandle First(platform::WindowHandle any) override;
  platform::WindowHandle Next(platform::WindowHandle h) override;
  platform::WindowHandle Owner(platform::WindowHandle h) override;
  bool IsVisible(platform::WindowHandle h) override;
  int TitleLength(platform::WindowHandle h) override;
  int Title(platform::WindowHandle h, std::string& title, int capacity) override;

 private:
  const Window* Find(platform::WindowHandle h) const;
  std::vector<Window> windows_;
};

}  // namespace veltrane::fake
