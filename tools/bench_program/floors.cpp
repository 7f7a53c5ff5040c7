#include "floors.h"

#include <windows.h>
#include <winternl.h>

#include <algorithm>

#include "platform/win32/handles.h"

namespace bench {

using veltrane::win32::FileHandle;
using veltrane::win32::FindHandle;

void BareWalk(const std::wstring& folder, std::vector<std::wstring>& files) {
  WIN32_FIND_DATAW data;
  const FindHandle find(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return;
  std::vector<std::wstring> folders;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(folder + name + L"\\");
    else files.push_back(folder + name);
  } while (FindNextFileW(find.Get(), &data));
  for (const std::wstring& sub : folders) BareWalk(sub, files);
}

int BareDelete(const std::vector<std::wstring>& paths) {
  int gone = 0;
  for (const std::wstring& path : paths) gone += DeleteFileW(path.c_str()) ? 1 : 0;
  return gone;
}

int BareCheckedDelete(const std::vector<std::wstring>& paths) {
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  using QueryObject = LONG(NTAPI*)(HANDLE, OBJECT_INFORMATION_CLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryObject>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  std::vector<ULONG_PTR> held((sizeof(OBJECT_NAME_INFORMATION) + 65536) / sizeof(ULONG_PTR));
  // Windows opens a link itself with FILE_FLAG_OPEN_REPARSE_POINT, so there
  // the open needs no check after it; only Wine gives its links away by path.
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  int gone = 0;
  for (const std::wstring& path : paths) {
    // The exact form, so that the name reaches the listed file and nothing else.
    const std::wstring exact = L"\\\\?\\" + path;
    const FileHandle h(CreateFileW(exact.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                                   FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h) continue;
    // Wine holds the handle's path as "\??\" and the name, unless the name is a link.
    const auto heldIsName = [&] {
      const auto* name = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(held.data());
      ULONG got = 0;
      return query(h.Get(), ObjectNameInformation, held.data(), ULONG(held.size() * sizeof(ULONG_PTR)), &got) >= 0 &&
             name->Name.Length / sizeof(wchar_t) == exact.size() &&
             CompareStringOrdinal(name->Name.Buffer + 4, int(exact.size() - 4), exact.c_str() + 4,
                                  int(exact.size() - 4), TRUE) == CSTR_EQUAL;
    };
    FILE_DISPOSITION_INFO disposition{TRUE};
    if ((!wine || heldIsName()) &&
        SetFileInformationByHandle(h.Get(), FileDispositionInfo, &disposition, sizeof disposition))
      ++gone;
  }
  return gone;
}

int BareOverwrite(const std::vector<std::wstring>& paths, const std::vector<std::uint64_t>& bytes,
                  std::size_t chunk) {
  const std::string zeros(chunk, '0');
  int gone = 0;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    {
      const FileHandle h(CreateFileW(paths[i].c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      if (!h) continue;
      for (std::uint64_t done = 0; done < bytes[i];) {
        const DWORD n = DWORD(std::min<std::uint64_t>(chunk, bytes[i] - done));
        DWORD written = 0;
        if (!WriteFile(h.Get(), zeros.data(), n, &written, nullptr)) break;
        done += n;
      }
      FlushFileBuffers(h.Get());
    }
    gone += DeleteFileW(paths[i].c_str()) ? 1 : 0;
  }
  return gone;
}

}  // namespace bench
