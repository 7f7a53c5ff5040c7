#include "platform/win32/link_check.h"

#include "platform/win32/handles.h"

namespace veltrane::win32 {

namespace {

// The handle's path with links resolved, "\\?\C:\..."; empty on failure.
std::wstring FinalPath(HANDLE h) {
  std::wstring out(MAX_PATH, L'\0');
  DWORD n = GetFinalPathNameByHandleW(h, out.data(), DWORD(out.size()), FILE_NAME_NORMALIZED);
  if (n >= out.size()) {  // too small: n is the size needed
    out.assign(n, L'\0');
    n = GetFinalPathNameByHandleW(h, out.data(), DWORD(out.size()), FILE_NAME_NORMALIZED);
  }
  if (n == 0 || n >= out.size()) return {};
  out.resize(n);
  return out;
}

// The path with short (8.3) parts expanded, so that its last part can be
// compared with a final path; the path itself when that fails.
std::wstring LongPath(const std::wstring& path) {
  const DWORD n = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (n == 0) return path;
  std::wstring out(n, L'\0');
  const DWORD got = GetLongPathNameW(path.c_str(), out.data(), n);
  if (got == 0 || got >= n) return path;
  out.resize(got);
  return out;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return !a.empty() && CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()),
                                            TRUE) == CSTR_EQUAL;
}

}  // namespace

bool NameLeadsElsewhere(HANDLE opened, const std::wstring& path) {
  const std::wstring finalPath = FinalPath(opened);
  // The common case, and the cheap one: the path already is the final path,
  // so no part of it is a link. Anything else (a short name, other case, a
  // linked folder on the way) is settled against the parent folder.
  if (SamePath(finalPath, L"\\\\?\\" + path)) return false;
  const std::wstring full = LongPath(path);
  const std::size_t cut = full.find_last_of(L'\\');
  if (finalPath.empty() || cut == std::wstring::npos) return true;

  std::wstring parent = full.substr(0, cut);
  if (!parent.empty() && parent.back() == L':') parent += L'\\';  // a drive's root
  // Share everything: this open only asks where the folder really is.
  FileHandle folder(CreateFileW(parent.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return true;
  std::wstring expected = FinalPath(folder.Get());
  if (expected.empty()) return true;
  if (expected.back() != L'\\') expected += L'\\';
  expected += full.substr(cut + 1);
  return !SamePath(finalPath, expected);
}

bool DeleteLinkName(const std::wstring& path) {
  const std::wstring spare = path + L"~veltrane-" + std::to_wstring(GetCurrentProcessId());
  // CREATE_NEW: never reuse or truncate a file that happens to have that name.
  FileHandle created(CreateFileW(spare.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!created) return false;
  created.Reset();
  // rename() replaces the name it is given, never what that name points to.
  if (!MoveFileExW(spare.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(spare.c_str());
    return false;
  }
  return DeleteFileW(path.c_str()) != FALSE;
}

}  // namespace veltrane::win32
