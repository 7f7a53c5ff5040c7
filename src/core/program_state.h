#pragma once
#include <optional>
#include <string>

#include "core/trace_list.h"
#include "platform/files.h"

namespace veltrane {

// The program-wide variables that the scan writes and the removal and the
// details window read. One GUI thread, so nothing is locked.
struct ProgramState {
  bool scanDone = false;
  // Folder paths: end in "\", or "*" for a folder that was not found.
  std::string cookiesPath, historyPath, cachePath;
  TraceList cookieFiles, historyFiles, cacheFiles;
  // Every folder the scan listed, as it found it: the removal erases a
  // listed file only in that very folder.
  platform::WalkedFolders walkedFolders;
  // Scratch lists of the folder walk.
  TraceList fileList, folderList;
  // Titles of the top-level windows seen at start-up.
  TraceList taskList;
  // Wipe passes of the current removal; nothing until the first removal sets it.
  std::optional<int> wipePasses;
  // A scan's handler is running (possibly letting events run).
  bool scanRunning = false;
};

inline const std::string kNotFound = "*";

}  // namespace veltrane
