#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace bench {

// The least work each measured task could do with the bare API.

// Every file below `folder` (ending in "\"), each folder listed once.
void BareWalk(const std::wstring& folder, std::vector<std::wstring>& files);
// DeleteFileW on each path; returns how many went.
int BareDelete(const std::vector<std::wstring>& paths);
// What a delete that stays in the scanned folders cannot do without. Once:
// the root opened by its exact path ("\\?\") and its identity asked. Once a
// folder: the folder opened in the root, its identity asked, and under Wine
// the path Wine holds for it. Once a file: the file opened in its folder,
// under Wine its held path asked (Wine gives a file link no other sign), the
// handle marked for deletion and closed.
class BareBoundedDelete {
 public:
  explicit BareBoundedDelete(const std::wstring& root);  // ending in "\"
  // Files straight in sub-folders of the root, a folder's files one after
  // the other. Returns how many went.
  int Run(const std::vector<std::wstring>& paths);

 private:
  std::wstring root_, folderPath_;
  veltrane::win32::FileHandle rootHandle_, folder_;
  bool wine_;
};
// For each file: open it, write bytes[i] "0" characters in chunks of `chunk`,
// flush, close and delete it; returns how many went.
int BareOverwrite(const std::vector<std::wstring>& paths, const std::vector<std::uint64_t>& bytes,
                  std::size_t chunk);

}  // namespace bench
