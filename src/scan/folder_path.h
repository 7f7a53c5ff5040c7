#pragma once
#include <string>

#include "registry/module_registry.h"

namespace veltrane {

// A Shell Folders value as a folder path: "*" (not found), or a full path
// ending in "\" that names the folder as Windows would, settled once here so
// that nothing below it is ever settled again (see ExactPath). The value is
// what it names up to its first NUL, as every other reader of it sees it; a
// number is its decimal text. Full means from a drive root ("C:\"; a bare
// "C:" gains its "\") or a share ("\\server\share"), either also behind
// "\\?\" or "\\.\"; anything else would be walked from the working folder
// and is not found. Settled: "/" read as "\", doubled "\" and "." parts
// dropped, ".." taking back the part before it but never the root, and
// "\\.\" made "\\?\". Names keep their trailing dots and blanks.
std::string FolderPathFromValue(const RegValue& value);

}  // namespace veltrane
