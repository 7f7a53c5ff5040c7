#include "platform/win32/version_resource.h"

#include <windows.h>

#include <vector>

namespace veltrane::win32 {

std::optional<platform::Version> ParseVersionInfo(std::span<const std::uint8_t> block) {
  // VerQueryValueW trusts the block's own length word and may write into the
  // block, so it gets a private copy that holds every byte the word claims.
  if (block.size() < sizeof(WORD)) return std::nullopt;
  const std::size_t claimed = block[0] | (std::size_t(block[1]) << 8);
  if (claimed < sizeof(WORD) || claimed > block.size()) return std::nullopt;
  std::vector<std::uint8_t> copy(block.begin(), block.begin() + claimed);
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(copy.data(), L"\\", &value, &length) || !value ||
      length < sizeof(VS_FIXEDFILEINFO))
    return std::nullopt;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
  if (fixed->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
  return platform::Version{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                           LOWORD(fixed->dwFileVersionLS)};
}

}  // namespace veltrane::win32
