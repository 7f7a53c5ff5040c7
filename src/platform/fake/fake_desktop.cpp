#include "platform/fake/fake_desktop.h"

#include <algorithm>

namespace veltrane::fake {

using platform::WindowHandle;

const FakeDesktop::Window* FakeDesktop::Find(WindowHandle h) const {
  for (const Window& w : windows_)
    if (w.handle == h) return &w;
  return nullptr;
}

void FakeDesktop::Remove(WindowHandle h) {
  std::erase_if(windows_, [h](const Window& w) { return w.handle == h; });
}

WindowHandle FakeDesktop::First(WindowHandle) { return windows_.empty() ? 0 : windows_.front().handle; }

WindowHandle FakeDesktop::Next(WindowHandle h) {
  for (std::size_t i = 0; i + 1 < windows_.size(); ++i)
    if (windows_[i].handle == h) return windows_[i + 1].handle;
  return 0;
}

WindowHandle FakeDesktop::Owner(WindowHandle h) {
  const Window* w = Find(h);
  return w ? w->owner : 0;
}

bool FakeDesktop::IsVisible(WindowHandle h) {
  const Window* w = Find(h);
  return w && w->visible;
}

int FakeDesktop::TitleLength(WindowHandle h) {
  const Window* w = Find(h);
  return w ? static_cast<int>(w->title.size()) : 0;
}

int FakeDesktop::Title(WindowHandle h, std::string& title, int capacity) {
  const Window* w = Find(h);
  if (!w || capacity <= 0) {
    title.clear();
    return 0;
  }
  title = w->title.substr(0, static_cast<std::size_t>(capacity - 1));
  return static_cast<int>(title.size());
}

}  // namespace veltrane::fake
