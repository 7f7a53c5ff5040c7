#include "platform/win32/link_check.h"

#include <winternl.h>

#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/win32_files.h"

namespace veltrane::win32 {

namespace {

using QueryObject = LONG(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG, PULONG);

// The path Wine holds for the handle's file, links resolved, as
// "\\?\C:\..."; empty on failure. Read from the object name ("\??\C:\..."):
// Wine 8's GetFinalPathNameByHandleW fails past 260 characters.
std::wstring HeldPath(HANDLE h) {
  static const auto query = reinterpret_cast<QueryObject>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  if (!query) return {};
  // Sized for the longest path there can be; kept, as the removal asks once a file.
  static std::vector<ULONG_PTR> buffer(
      (sizeof(OBJECT_NAME_INFORMATION) + 65536 + sizeof(ULONG_PTR)) / sizeof(ULONG_PTR));
  ULONG got = 0;
  if (query(h, ObjectNameInformation, buffer.data(), ULONG(buffer.size() * sizeof(ULONG_PTR)),
            &got) < 0)
    return {};
  const auto* name = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(buffer.data());
  std::wstring path(name->Name.Buffer, name->Name.Length / sizeof(wchar_t));
  if (path.rfind(L"\\??\\", 0) != 0) return {};
  path[1] = L'\\';
  return path;
}

// The path with short (8.3) parts expanded, so that its last part can be
// compared with a held path; the path itself when that fails.
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
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) ==
         CSTR_EQUAL;
}

std::wstring WithoutTrailingDotsAndBlanks(std::wstring name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  return name;
}

// Wine holds "foo." and "bar " under their names less the trailing dots and
// blanks, so such a file and a link from that name to "foo" beside it look
// alike. The file under "foo" tells: none, or another one, and the open
// reached the name itself; the same one with no other name, and the name is
// a link to it; the same one with further names cannot be told.
Reached BesideItsPlainName(HANDLE opened, const std::wstring& plainPath) {
  FileHandle plain(CreateFileW(plainPath.c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!plain) return GetLastError() == ERROR_FILE_NOT_FOUND ? Reached::Name : Reached::Unknown;
  BY_HANDLE_FILE_INFORMATION a{}, b{};
  if (!GetFileInformationByHandle(opened, &a) || !GetFileInformationByHandle(plain.Get(), &b))
    return Reached::Unknown;
  if (a.dwVolumeSerialNumber != b.dwVolumeSerialNumber || a.nFileIndexHigh != b.nFileIndexHigh ||
      a.nFileIndexLow != b.nFileIndexLow)
    return Reached::Name;
  return a.nNumberOfLinks == 1 ? Reached::LinkTarget : Reached::Unknown;
}

}  // namespace

LinkCheck DetectLinkCheck() {
  static const LinkCheck check = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") ? LinkCheck::FinalPath
                                                              : LinkCheck::Handle;
  }();
  return check;
}

Reached ReachedByFinalPath(HANDLE opened, const std::wstring& exactPath) {
  const std::wstring heldPath = HeldPath(opened);
  if (heldPath.empty()) return Reached::Unknown;
  // The common case, and the cheap one: the path already is the held path,
  // so no part of it is a link. Anything else (a short name, other case, a
  // linked folder on the way, a trailing dot) is settled against the parent.
  if (SamePath(heldPath, exactPath)) return Reached::Name;
  const std::wstring full = LongPath(exactPath);
  const std::size_t cut = full.find_last_of(L'\\');
  if (cut == std::wstring::npos) return Reached::Unknown;
  const std::wstring name = full.substr(cut + 1);

  std::wstring parent = full.substr(0, cut);
  if (!parent.empty() && parent.back() == L':') parent += L'\\';  // a drive's root
  // Share everything: this open only asks where the folder really is.
  FileHandle folder(CreateFileW(parent.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return Reached::Unknown;
  std::wstring inFolder = HeldPath(folder.Get());
  if (inFolder.empty()) return Reached::Unknown;
  if (inFolder.back() != L'\\') inFolder += L'\\';
  if (SamePath(heldPath, inFolder + name)) return Reached::Name;
  const std::wstring plainName = WithoutTrailingDotsAndBlanks(name);
  if (plainName.empty() || plainName == name || !SamePath(heldPath, inFolder + plainName))
    return Reached::LinkTarget;
  return BesideItsPlainName(opened, full.substr(0, cut + 1) + plainName);
}

bool DeleteLinkName(const std::wstring& exactPath) {
  const std::wstring spare = exactPath + L"~veltrane-" + std::to_wstring(GetCurrentProcessId());
  // CREATE_NEW: never reuse or truncate a file that happens to have that name.
  FileHandle created(CreateFileW(spare.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!created) return false;
  created.Reset();
  // rename() replaces the name it is given, never what that name points to.
  if (!MoveFileExW(spare.c_str(), exactPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(spare.c_str());
    return false;
  }
  return DeleteFileW(exactPath.c_str()) != FALSE;
}

}  // namespace veltrane::win32
