#include "scan/folder_path.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "core/program_state.h"

namespace veltrane {

namespace {

constexpr std::string_view kDevice = "\\\\?\\", kDeviceDot = "\\\\.\\";

bool IsDriveRoot(std::string_view text) {
  return text.size() >= 3 && text[1] == ':' && text[2] == '\\' &&
         ((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z'));
}

bool IsName(std::string_view part) { return !part.empty() && part != "." && part != ".."; }

// How long "server\share\" is at the start of text; 0 when either is no name.
std::size_t ShareRootLength(std::string_view text) {
  const std::size_t server = text.find('\\');
  if (server == std::string_view::npos || !IsName(text.substr(0, server))) return 0;
  const std::size_t share = text.find('\\', server + 1);
  if (share == std::string_view::npos || !IsName(text.substr(server + 1, share - server - 1)))
    return 0;
  return share + 1;
}

// "UNC\" in any case, as Windows reads it.
bool StartsWithUnc(std::string_view text) {
  return text.size() >= 4 && (text[0] == 'U' || text[0] == 'u') &&
         (text[1] == 'N' || text[1] == 'n') && (text[2] == 'C' || text[2] == 'c') && text[3] == '\\';
}

// The root as it stays ("C:\", "\\server\share\", "\\?\C:\" or
// "\\?\UNC\server\share\") and how much of the text it took; nothing when the
// text is no full path.
std::optional<std::pair<std::string, std::size_t>> Root(std::string_view text) {
  if (text.substr(0, 4) == kDevice || text.substr(0, 4) == kDeviceDot) {
    const std::string_view rest = text.substr(4);
    if (IsDriveRoot(rest))
      return std::pair(std::string(kDevice) + std::string(rest.substr(0, 3)), std::size_t{7});
    if (!StartsWithUnc(rest)) return std::nullopt;
    const std::size_t share = ShareRootLength(rest.substr(4));
    if (share == 0) return std::nullopt;
    return std::pair(std::string(kDevice) + std::string(rest.substr(0, 4 + share)), 8 + share);
  }
  if (IsDriveRoot(text)) return std::pair(std::string(text.substr(0, 3)), 3);
  if (text.substr(0, 2) != "\\\\") return std::nullopt;
  const std::size_t share = ShareRootLength(text.substr(2));
  if (share == 0) return std::nullopt;
  return std::pair(std::string(text.substr(0, 2 + share)), 2 + share);
}

// The full folder path that text (ending in "\") names, settled; nothing
// when it names none.
std::optional<std::string> SettledFullPath(std::string text) {
  std::replace(text.begin(), text.end(), '/', '\\');
  const auto root = Root(text);
  if (!root) return std::nullopt;
  std::vector<std::string_view> parts;
  const std::string_view below = std::string_view(text).substr(root->second);
  for (std::size_t at = 0; at < below.size();) {
    const std::size_t end = below.find('\\', at);
    const std::string_view part = below.substr(at, end - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (IsName(part)) {
      parts.push_back(part);
    }
    at = end + 1;
  }
  std::string path = root->first;
  for (std::string_view part : parts) (path += part) += '\\';
  return path;
}

}  // namespace

std::string FolderPathFromValue(const RegValue& value) {
  std::string text = RegValueText(value);
  text.erase(std::min(text.find('\0'), text.size()));
  if (text.empty()) return kNotFound;
  if (text.back() != '\\') text += '\\';
  return SettledFullPath(std::move(text)).value_or(kNotFound);
}

}  // namespace veltrane
