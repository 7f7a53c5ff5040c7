#include "floors.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/nt_file.h"

namespace bench {

using veltrane::win32::FileHandle;
using veltrane::win32::FindHandle;
namespace win32 = veltrane::win32;

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

namespace {

// The identity as the check asks it: the file id alone under Wine, where the
// volume costs a query of its own; volume and id on Windows.
bool Identity(HANDLE h, bool wine) {
  return wine ? win32::FileIdOf(h).has_value() : win32::VolumeAndFileIdOf(h).has_value();
}

}  // namespace

BareBoundedDelete::BareBoundedDelete(const std::wstring& root)
    : root_(root), wine_(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {}

int BareBoundedDelete::Run(const std::vector<std::wstring>& paths) {
  if (!rootHandle_) {
    FileHandle root = win32::OpenFolderByPath(L"\\\\?\\" + root_);
    if (!root || !Identity(root.Get(), wine_)) return 0;
    if (wine_) win32::HeldPath(root.Get());
    rootHandle_ = std::move(root);
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  int gone = 0;
  for (const std::wstring& path : paths) {
    const std::size_t cut = path.rfind(L'\\');
    const std::wstring folder = path.substr(0, cut + 1), name = path.substr(cut + 1);
    if (folder != folderPath_) {
      folderPath_ = folder;
      folder_ = win32::OpenIn(rootHandle_.Get(), folder.substr(root_.size(), folder.size() - root_.size() - 1),
                              FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES, win32::kShareAll, FILE_OPEN,
                              FILE_DIRECTORY_FILE);
      if (!folder_ || !Identity(folder_.Get(), wine_) || (wine_ && win32::HeldPath(folder_.Get()).empty())) continue;
    }
    if (!folder_) continue;
    const FileHandle h = win32::OpenIn(folder_.Get(), name, DELETE | FILE_READ_ATTRIBUTES, win32::kShareAll,
                                       FILE_OPEN, FILE_NON_DIRECTORY_FILE);
    if (!h) continue;
    if ((!wine_ || !win32::HeldPath(h.Get()).empty()) &&
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
