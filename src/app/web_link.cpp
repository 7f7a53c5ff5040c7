#include "app/web_link.h"

#include <exception>

namespace veltrane {

void OpenHomePage(platform::Launcher& launcher) {
  // A link that cannot open must not disturb the window, nor a running scan
  // that let this click in: the result and any error are dropped.
  try {
    launcher.Open(kHomeAddress, platform::kShowMinimizedWithFocus);
  } catch (const std::exception&) {
  }
}

}  // namespace veltrane
