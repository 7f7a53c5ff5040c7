#pragma once
#include <map>
#include <string>

#include "core/control_ids.h"

namespace veltrane::testing {

// The program's control names, for FakeRuntime::SetControlNames: log lines
// then read "Veltrane.Status_Cookies: Scanning...".
inline std::map<int, std::string> ControlNames() {
  std::map<int, std::string> names;
  for (const ids::ControlName& control : ids::kControlNames) names.emplace(control.id, control.name);
  return names;
}

}  // namespace veltrane::testing
