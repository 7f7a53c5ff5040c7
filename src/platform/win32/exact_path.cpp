#include "platform/win32/exact_path.h"

#include "platform/win32/utf.h"

namespace veltrane::win32 {

namespace {

constexpr std::string_view kExact = "\\\\?\\";
constexpr std::wstring_view kExactShare = L"\\\\?\\UNC\\";

bool IsDriveRoot(std::string_view path) {
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// "\\server\share", then "\" or the end: neither name empty. A device path
// ("\\.\") has a "." part, refused before this is asked.
bool IsShareRoot(std::string_view path) {
  if (path.substr(0, 2) != "\\\\") return false;
  const std::size_t server = path.find('\\', 2);
  if (server == std::string_view::npos || server == 2) return false;
  const std::size_t share = path.find('\\', server + 1);
  return (share == std::string_view::npos ? path.size() : share) > server + 1;
}

// A "." or ".." part, which Windows would settle into another folder.
bool HasStepPart(std::string_view path) {
  for (std::size_t at = 0; at <= path.size();) {
    std::size_t end = path.find('\\', at);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(at, end - at);
    if (part == "." || part == "..") return true;
    at = end + 1;
  }
  return false;
}

}  // namespace

std::optional<std::wstring> ExactPath(std::string_view path) {
  if (path.find('\0') != std::string_view::npos || HasStepPart(path)) return std::nullopt;
  if (path.substr(0, kExact.size()) == kExact) return Widen(path);
  if (IsDriveRoot(path)) return Widen(kExact) + Widen(path);
  if (IsShareRoot(path)) return std::wstring(kExactShare) + Widen(path.substr(2));
  return std::nullopt;
}

}  // namespace veltrane::win32
