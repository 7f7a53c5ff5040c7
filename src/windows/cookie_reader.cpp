#include "windows/cookie_reader.h"

#include <vector>

namespace veltrane {

namespace {

std::string LessOneSlash(std::string field) {
  if (!field.empty() && field.back() == '/') field.pop_back();
  return field;
}

}  // namespace

std::optional<std::string> ReadCookieDomain(platform::ByteStream& stream) {
  std::vector<char> buffer(kCookieReadChunk);
  std::string third;         // the current line's third field so far
  int separators = 0;        // LFs seen in the current line
  bool afterCr = false;      // a LF right behind a CR belongs to the line end
  std::size_t scanned = 0;

  while (scanned < kCookieMaxScan) {
    std::size_t got = stream.Read(buffer.data(), buffer.size());
    if (got == 0) break;
    if (got > buffer.size()) got = buffer.size();
    for (std::size_t k = 0; k < got && scanned < kCookieMaxScan; ++k, ++scanned) {
      char c = buffer[k];
      if (afterCr) {
        afterCr = false;
        if (c == '\n') continue;
      }
      if (c == '\r') {
        if (separators >= 2) return LessOneSlash(std::move(third));
        separators = 0;
        third.clear();
        afterCr = true;
      } else if (c == '\n') {
        // The third field ends at the third LF; the rest of the line is not needed.
        if (++separators == 3) return LessOneSlash(std::move(third));
      } else if (separators == 2) {
        if (third.size() == kCookieMaxField) return std::nullopt;
        third.push_back(c);
      }
    }
  }
  // The last line ends at the end of the file; a file cut at the scan bound
  // gives nothing rather than a field that may be partial.
  if (scanned < kCookieMaxScan && separators >= 2) return LessOneSlash(std::move(third));
  return std::nullopt;
}

}  // namespace veltrane
