#pragma once
#include <string>

namespace bench {

struct Programs {
  std::wstring veltrane;     // the real program
  std::wstring floorWindow;  // the empty window the start-up is measured against
};

// The figures of the real program under Wine, driven from outside as a user
// drives it. `tree` is the kBigTree made for the walk (ending in "\"); the
// scan goes through it and the removal deletes its files. `base` takes the
// removal floor's tree and the empty Cookies and History folders.
// Points the prefix's Shell Folders values at the three folders (each ending in "\").
void PointShellFolders(const std::wstring& cookies, const std::wstring& history, const std::wstring& cache);

void RunProgramFigures(const std::wstring& base, const std::wstring& tree, const Programs& programs);

}  // namespace bench
