#pragma once
#include <string>

namespace veltrane::fake {

// Windows compares names without regard to case; ASCII folding is enough for
// the names the tests use.
inline std::string FoldCase(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace veltrane::fake
