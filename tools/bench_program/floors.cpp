#include "floors.h"

#include <windows.h>

#include <algorithm>

namespace bench {

void BareWalk(const std::wstring& folder, std::vector<std::wstring>& files) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (find == INVALID_HANDLE_VALUE) return;
  std::vector<std::wstring> folders;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(folder + name + L"\\");
    else files.push_back(folder + name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  for (const std::wstring& sub : folders) BareWalk(sub, files);
}

int BareDelete(const std::vector<std::wstring>& paths) {
  int gone = 0;
  for (const std::wstring& path : paths) gone += DeleteFileW(path.c_str()) ? 1 : 0;
  return gone;
}

int BareOverwrite(const std::vector<std::wstring>& paths, std::size_t bytes, std::size_t chunk) {
  const std::string zeros(chunk, '0');
  int gone = 0;
  for (const std::wstring& path : paths) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    for (std::size_t done = 0; done < bytes;) {
      const DWORD n = DWORD(std::min(chunk, bytes - done));
      DWORD written = 0;
      if (!WriteFile(h, zeros.data(), n, &written, nullptr)) break;
      done += n;
    }
    FlushFileBuffers(h);
    CloseHandle(h);
    gone += DeleteFileW(path.c_str()) ? 1 : 0;
  }
  return gone;
}

}  // namespace bench
