#pragma once
#include <cstddef>
#include <optional>
#include <string>

#include "platform/files.h"

namespace veltrane {

// Bounds of one cookie file read. A real domain and path is a few hundred
// bytes and the browser puts it in the file's first record, so these lie far
// above anything genuine while keeping a huge or hostile file cheap.
constexpr std::size_t kCookieReadChunk = 64 * 1024;         // bytes per Read
constexpr std::size_t kCookieMaxField = 64 * 1024;          // longer third field: no line
constexpr std::size_t kCookieMaxScan = 16 * 1024 * 1024;    // bytes looked at per file

// The domain line of one cookie file: the third field of its first line with
// three or more fields, less one trailing "/". Lines end at CR or CR LF; a LF
// alone cuts a line into fields. Nothing when no such line exists within the
// bounds above. The bytes come back as they are (8-bit text).
std::optional<std::string> ReadCookieDomain(platform::ByteStream& stream);

}  // namespace veltrane
