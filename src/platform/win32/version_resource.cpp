#include "platform/win32/version_resource.h"

#include <windows.h>

#include <cstring>
#include <string_view>

namespace veltrane::win32 {

// Read by hand rather than through VerQueryValueW, which would tie the exe to
// version.dll: a DLL Windows looks for in the exe's own folder first.
std::optional<platform::Version> ParseVersionInfo(std::span<const std::uint8_t> block) {
  // The root entry: its length, its value's length, its type, the key with
  // its NUL, padding to four bytes, then the value, a VS_FIXEDFILEINFO.
  constexpr std::wstring_view kKey = L"VS_VERSION_INFO";
  constexpr std::size_t kKeyAt = 6;
  constexpr std::size_t kValueAt = (kKeyAt + (kKey.size() + 1) * 2 + 3) & ~std::size_t(3);
  constexpr std::size_t kEnd = kValueAt + sizeof(VS_FIXEDFILEINFO);
  const auto word = [&](std::size_t at) { return unsigned(block[at]) | (unsigned(block[at + 1]) << 8); };
  if (block.size() < kEnd) return std::nullopt;
  if (word(0) < kEnd || word(0) > block.size() || word(2) < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
  for (std::size_t i = 0; i <= kKey.size(); ++i)
    if (word(kKeyAt + 2 * i) != (i < kKey.size() ? unsigned(kKey[i]) : 0u)) return std::nullopt;
  VS_FIXEDFILEINFO fixed;
  std::memcpy(&fixed, block.data() + kValueAt, sizeof fixed);
  if (fixed.dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
  return platform::Version{HIWORD(fixed.dwFileVersionMS), LOWORD(fixed.dwFileVersionMS),
                           LOWORD(fixed.dwFileVersionLS)};
}

}  // namespace veltrane::win32
