#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The least work each measured task could do with the bare API.

// Every file below `folder` (ending in "\"), each folder listed once.
void BareWalk(const std::wstring& folder, std::vector<std::wstring>& files);
// DeleteFileW on each path; returns how many went.
int BareDelete(const std::vector<std::wstring>& paths);
// What a delete that checks what it deletes cannot do without: open the exact
// name ("\\?\"), under Wine ask the path it holds for the handle (Wine gives a
// file link no other sign), mark the handle for deletion, close it. Returns
// how many went.
int BareCheckedDelete(const std::vector<std::wstring>& paths);
// For each file: open it, write bytes[i] "0" characters in chunks of `chunk`,
// flush, close and delete it; returns how many went.
int BareOverwrite(const std::vector<std::wstring>& paths, const std::vector<std::uint64_t>& bytes,
                  std::size_t chunk);

}  // namespace bench
