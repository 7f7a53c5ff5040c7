#pragma once
#include <map>
#include <string>
#include <vector>

#include "core/program_state.h"
#include "platform/event_pump.h"
#include "platform/files.h"

namespace veltrane {

// The folder walk works on the scratch lists FileList and FolderList of the
// program state. Each call opens its own listings, so a walk nested in another
// (a click handled while events run) cannot disturb the outer one's position.
struct FolderWalk {
  platform::FileSystem& files;
  platform::EventPump& pump;
  ProgramState& state;

  // Appends folder + name of every plain file at the top of `folder` (which
  // ends in "\") to FileList, emptying it first when appendFlag is 0.
  void ListFiles(const std::string& folder, int appendFlag);
  // Rebuilds FolderList: the root, then every sub-folder of attribute word
  // exactly 16 or 20 below it, breadth first, each ending in "\".
  void ListFolderTree(const std::string& root);
  // Appends "o" + folder + name + "\" for each qualifying sub-folder.
  void ListSubFolders(const std::string& folder);

  // The plain files each folder of the last tree walk held when it was
  // listed (full paths, listing order), kept for one ListFiles of that folder.
  // Under Wine a listing costs ~10 us an entry, and the tree's files would
  // otherwise need a second listing of every folder.
  std::map<std::string, std::vector<std::string>> filesSeen = {};
};

}  // namespace veltrane
