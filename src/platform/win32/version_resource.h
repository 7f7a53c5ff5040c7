#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "platform/runtime.h"

namespace veltrane::win32 {

// The program's numbers from a VS_VERSIONINFO resource block: major and minor
// from the high and low word of the file version's first half, revision from
// the low word of its second half (1.11.0.22 gives 1, 11, 22). Nothing when
// the block is not a version block.
std::optional<platform::Version> ParseVersionInfo(std::span<const std::uint8_t> block);

}  // namespace veltrane::win32
