#include "platform/win32/exact_path.h"

#include <windows.h>

#include "platform/win32/utf.h"

namespace veltrane::win32 {

namespace {

constexpr std::wstring_view kExact = L"\\\\?\\";
constexpr std::wstring_view kExactShare = L"\\\\?\\UNC\\";

bool StartsWith(std::wstring_view text, std::wstring_view start) {
  return text.substr(0, start.size()) == start;
}

// Where the parts below the root begin: after "X:\" or "\\server\share\";
// npos when the folder has neither root.
std::size_t PartsStart(std::wstring_view folder) {
  if (folder.size() >= 3 && folder[1] == L':' && folder[2] == L'\\' &&
      ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z')))
    return 3;
  if (!StartsWith(folder, L"\\\\")) return std::wstring_view::npos;
  const std::size_t server = folder.find(L'\\', 2);
  if (server == std::wstring_view::npos || server == 2) return std::wstring_view::npos;
  const std::size_t share = folder.find(L'\\', server + 1);
  if (share == std::wstring_view::npos || share == server + 1) return std::wstring_view::npos;
  return share + 1;
}

// A folder path ending in "\" that is full already: a root, then parts that
// are neither empty nor "." nor "..", and no "/" anywhere.
bool IsFull(std::wstring_view folder) {
  const std::size_t start = PartsStart(folder);
  if (start == std::wstring_view::npos || folder.find(L'/') != std::wstring_view::npos)
    return false;
  for (std::size_t at = start; at < folder.size();) {
    const std::size_t end = folder.find(L'\\', at);
    const std::wstring_view part = folder.substr(at, end - at);
    if (part.empty() || part == L"." || part == L"..") return false;
    at = end + 1;
  }
  return true;
}

// Empty on failure.
std::wstring FullForm(const std::wstring& folder) {
  std::wstring out(MAX_PATH, L'\0');
  DWORD n = GetFullPathNameW(folder.c_str(), DWORD(out.size()), out.data(), nullptr);
  if (n >= out.size()) {  // too small: n is the size needed
    out.assign(n, L'\0');
    n = GetFullPathNameW(folder.c_str(), DWORD(out.size()), out.data(), nullptr);
  }
  if (n == 0 || n >= out.size()) return {};
  out.resize(n);
  return out;
}

}  // namespace

std::wstring ExactPath(std::string_view path) {
  const std::wstring wide = Widen(path);
  // Already exact, or a device: as given.
  if (StartsWith(wide, kExact) || StartsWith(wide, L"\\\\.\\")) return wide;
  std::size_t cut = wide.find_last_of(L"\\/");
  std::wstring folder = cut == std::wstring::npos ? L".\\" : wide.substr(0, cut + 1);
  std::wstring name = cut == std::wstring::npos ? wide : wide.substr(cut + 1);
  const bool step = name == L"." || name == L"..";
  if (step) {
    folder += name + L"\\";
    name.clear();
  }
  if (!IsFull(folder)) {
    folder = FullForm(folder);
    if (folder.empty()) return wide;  // cannot be settled: Windows will refuse it as it is
  }
  // "x\." settles to the folder "x\", which is then named without its "\"
  // (unless it is a root), as a file would be.
  if (step && folder.size() > PartsStart(folder) && folder.back() == L'\\')
    folder.pop_back();
  if (StartsWith(folder, L"\\\\")) return std::wstring(kExactShare) + folder.substr(2) + name;
  return std::wstring(kExact) + folder + name;
}

}  // namespace veltrane::win32
