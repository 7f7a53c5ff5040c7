#pragma once
// Texts are held as UTF-8 in std::string; only platform/win32 converts to the
// wide forms that Windows takes, so non-ASCII profile paths survive.
#include <cstdint>
#include <string>

namespace veltrane {

// Plain decimal digits, no sign for non-negative values, no grouping.
inline std::string Decimal(std::int64_t n) { return std::to_string(n); }

inline std::string UpperAscii(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

}  // namespace veltrane
