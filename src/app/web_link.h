#pragma once
#include "platform/launcher.h"

namespace veltrane {

// The project's own site; the link label shows its host name.
inline constexpr const char* kHomeHost = "www.veltrane.example";
inline constexpr const char* kHomeAddress = "https://www.veltrane.example";

// Opens the site in the user's browser; any failure goes unnoticed.
void OpenHomePage(platform::Launcher& launcher);

}  // namespace veltrane
