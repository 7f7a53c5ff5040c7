#include "scan/folder_walk.h"

namespace veltrane {

namespace {

constexpr std::uint32_t kFilesOnly = 0;
constexpr std::uint32_t kFoldersAndSystem = platform::kAttrDirectory | platform::kAttrSystem;
constexpr char kToExpand = 'o', kExpanded = 'x';

bool IsDotName(const std::string& name) { return name == "." || name == ".."; }

// The whole word must match: a folder carrying any further bit (hidden,
// read-only, archive, or the reparse bit of a link or junction) is not walked,
// which also keeps links from leading the walk out of the tree or round a cycle.
bool IsWalkedFolder(std::uint32_t attributes) {
  return attributes == platform::kAttrDirectory || attributes == kFoldersAndSystem;
}

// The folder that a listing reached, for the removal to find again.
void Record(ProgramState& state, const std::string& folder, const platform::DirListing& listing) {
  if (std::optional<platform::FolderId> id = listing.Folder()) state.walkedFolders[folder] = *id;
}

// The sweeps of one walk whose FolderList starts with `rootEntry`. False as
// soon as a scan nested in this one (run while events ran) has rebuilt the
// list: a finished walk leaves no marker on its root, so position 1 tells.
bool SweepUntilNothingFound(FolderWalk& walk, const std::string& rootEntry) {
  TraceList& list = walk.state.folderList;
  auto intact = [&] { return list.At(1) == rootEntry; };
  if (!intact()) return false;
  // Each sweep's bound is fixed when it starts, so what it appends waits for
  // the next sweep: breadth first. Every entry up to a bound is expanded by
  // the end of that sweep, so the next one may start behind it and finds
  // exactly what a sweep from position 1 would; each entry is read once.
  std::size_t start = 1;
  bool found = true;
  while (found) {
    found = false;
    const std::size_t bound = list.Count();
    for (std::size_t position = start; position <= bound; ++position) {
      std::string& entry = list[position];
      if (entry.empty() || entry[0] != kToExpand) continue;
      found = true;
      entry[0] = kExpanded;
      const std::string folder = entry.substr(1);
      walk.ListSubFolders(folder);
      if (!intact()) return false;
    }
    start = bound + 1;
    walk.pump.DoEvents();
    if (!intact()) return false;
  }
  return true;
}

}  // namespace

// The attribute word comes from the listing entry itself rather than from a
// second query per name: one call fewer per entry, and an entry that vanishes
// after it was listed is judged by what the listing saw. A folder the last
// tree walk listed gives what that listing saw, once; the record is taken out
// first, so a walk nested in the events below cannot change it under us.
void FolderWalk::ListFiles(const std::string& folder, int appendFlag) {
  if (appendFlag == 0) state.fileList.Clear();
  if (auto seen = filesSeen.find(folder); seen != filesSeen.end()) {
    std::vector<std::string> paths = std::move(seen->second);
    filesSeen.erase(seen);
    for (std::string& path : paths) {
      state.fileList.Append(std::move(path));
      pump.DoEvents();
    }
    return;
  }
  std::unique_ptr<platform::DirListing> listing = files.List(folder, kFilesOnly);
  Record(state, folder, *listing);
  platform::DirEntry entry;
  while (listing->Next(entry)) {
    if (!IsDotName(entry.name) && entry.attributes != platform::kAttrDirectory)
      state.fileList.Append(folder + entry.name);
    pump.DoEvents();
  }
}

// Filter 20 yields every entry filter 0 would, so the same listing also
// records the folder's plain files for ListFiles.
void FolderWalk::ListSubFolders(const std::string& folder) {
  std::unique_ptr<platform::DirListing> listing = files.List(folder, kFoldersAndSystem);
  Record(state, folder, *listing);
  std::vector<std::string> plainFiles;
  platform::DirEntry entry;
  while (listing->Next(entry)) {
    if (platform::PassesFilter(entry.attributes, kFilesOnly))
      plainFiles.push_back(folder + entry.name);
    else if (!IsDotName(entry.name) && IsWalkedFolder(entry.attributes))
      state.folderList.Append(kToExpand + folder + entry.name + "\\");
    pump.DoEvents();
  }
  filesSeen[folder] = std::move(plainFiles);
}

// A scan nested in this walk rebuilds FolderList under it; the walk then
// starts again, so the running scan still gets its own tree. Nothing holds a
// reference into the list across a call that lets events run.
void FolderWalk::ListFolderTree(const std::string& root) {
  const std::string rootEntry = kExpanded + root;
  do {
    state.folderList.Clear();
    filesSeen.clear();
    state.folderList.Append(rootEntry);
    ListSubFolders(root);
  } while (!SweepUntilNothingFound(*this, rootEntry));

  for (std::size_t position = 1; position <= state.folderList.Count(); ++position)
    state.folderList[position].erase(0, 1);
}

}  // namespace veltrane
