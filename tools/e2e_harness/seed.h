#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "seed_plan.h"

namespace e2e {

// The three browser folders as the prefix's own Shell Folders values name
// them, each ending in "\"; empty when the value is missing.
struct Profile {
  std::wstring cookies, history, cache;
  const std::wstring& Folder(Root root) const;
  std::wstring PathOf(Root root, const wchar_t* relative) const;
  bool Complete() const { return !cookies.empty() && !history.empty() && !cache.empty(); }
};

Profile ReadProfile();

// Points the Shell Folders values Cookies, History and Cache at the folders
// of `replacement`, or removes them when it is null; whatever was there comes
// back however the case ends.
class ShellFoldersSwap {
 public:
  explicit ShellFoldersSwap(const Profile* replacement);
  ~ShellFoldersSwap();
  ShellFoldersSwap(const ShellFoldersSwap&) = delete;
  ShellFoldersSwap& operator=(const ShellFoldersSwap&) = delete;

 private:
  std::vector<std::optional<std::wstring>> saved_;
};

struct SeedReport {
  bool ok = true;
  std::vector<std::string> problems;       // what went wrong; ok is false then
  std::vector<std::string> notes;          // facts of the platform, no fault
  std::vector<std::string> readOnlyFolders;  // unix paths that want chmod 555
};

// Creates (or tops up) every folder, file and value of the plan. Files that
// already hold their content are left alone, so a folder made read-only by
// an earlier run can be seeded again.
SeedReport Seed(const Profile& profile);

// Makes or replaces the file with exactly these bytes.
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadBytes(const std::wstring& path);
DWORD AttributesOf(const std::wstring& path);  // INVALID_FILE_ATTRIBUTES when missing
DWORD ExpectedAttributes(FileKind kind);
DWORD ExpectedAttributes(FolderKind kind);

// Registry values as text; nullopt when missing.
std::optional<std::wstring> ReadString(const wchar_t* key, const wchar_t* name);
bool KeyExists(const wchar_t* key);
int ValueCount(const wchar_t* key);

}  // namespace e2e
