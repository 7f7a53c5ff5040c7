#include "platform/win32/version_resource.h"

#include <string_view>

namespace veltrane::win32 {

namespace {

std::uint32_t Word(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (std::uint32_t(b[at + 1]) << 8);
}
std::uint32_t Dword(std::span<const std::uint8_t> b, std::size_t at) {
  return Word(b, at) | (Word(b, at + 2) << 16);
}

}  // namespace

// Layout: WORD length, WORD value length, WORD type, the key
// L"VS_VERSION_INFO" with its NUL (32 bytes), padding to 4 bytes, then
// VS_FIXEDFILEINFO: signature, struct version, FileVersionMS, FileVersionLS...
std::optional<platform::Version> ParseVersionInfo(std::span<const std::uint8_t> block) {
  constexpr std::u16string_view kKey = u"VS_VERSION_INFO";
  constexpr std::size_t kKeyAt = 6, kFixedAt = 40, kFixedSize = 52;
  constexpr std::uint32_t kSignature = 0xFEEF04BD;
  if (block.size() < kFixedAt + kFixedSize || Word(block, 2) < kFixedSize) return std::nullopt;
  for (std::size_t i = 0; i <= kKey.size(); ++i) {
    const char16_t expected = i < kKey.size() ? kKey[i] : u'\0';
    if (Word(block, kKeyAt + 2 * i) != expected) return std::nullopt;
  }
  if (Dword(block, kFixedAt) != kSignature) return std::nullopt;
  const std::uint32_t ms = Dword(block, kFixedAt + 8), ls = Dword(block, kFixedAt + 12);
  return platform::Version{int(ms >> 16), int(ms & 0xFFFF), int(ls & 0xFFFF)};
}

}  // namespace veltrane::win32
