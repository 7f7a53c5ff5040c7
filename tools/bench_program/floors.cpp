#include "floors.h"

#include <windows.h>
#include <winternl.h>

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

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE OpenIn(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG options) {
  UNICODE_STRING text;
  text.Buffer = const_cast<PWSTR>(name.c_str());
  text.Length = text.MaximumLength = USHORT(name.size() * sizeof(wchar_t));
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE h = nullptr;
  return NtCreateFile(&h, access | SYNCHRONIZE, &attributes, &io, nullptr, 0, kShareAll, FILE_OPEN,
                      options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0) < 0
             ? nullptr
             : h;
}

// Wine holds the handle's path as "\??\" and the path, unless a link was on the way.
std::wstring Held(HANDLE h) {
  static std::vector<ULONG_PTR> buffer((sizeof(OBJECT_NAME_INFORMATION) + 65536) / sizeof(ULONG_PTR));
  ULONG got = 0;
  if (NtQueryObject(h, ObjectNameInformation, buffer.data(), ULONG(buffer.size() * sizeof(ULONG_PTR)), &got) < 0)
    return {};
  const auto* name = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(buffer.data());
  return std::wstring(name->Name.Buffer, name->Name.Length / sizeof(wchar_t));
}

// The identity as the check asks it: the file id alone under Wine, where the
// volume costs a query of its own; volume and id on Windows.
bool Identity(HANDLE h, bool wine) {
  if (wine) {
    IO_STATUS_BLOCK io{};
    LARGE_INTEGER id{};
    return NtQueryInformationFile(h, &io, &id, sizeof id, FileInternalInformation) >= 0;
  }
  BY_HANDLE_FILE_INFORMATION info;
  return GetFileInformationByHandle(h, &info) != FALSE;
}

}  // namespace

BareBoundedDelete::BareBoundedDelete(const std::wstring& root)
    : root_(root), wine_(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {}

BareBoundedDelete::~BareBoundedDelete() {
  if (folder_) CloseHandle(folder_);
  if (rootHandle_) CloseHandle(rootHandle_);
}

int BareBoundedDelete::Run(const std::vector<std::wstring>& paths) {
  if (!rootHandle_) {
    HANDLE h = CreateFileW((L"\\\\?\\" + root_).c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                           kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE || !Identity(h, wine_)) return 0;
    rootHandle_ = h;
    if (wine_) Held(h);
  }
  FILE_DISPOSITION_INFO disposition{TRUE};
  int gone = 0;
  for (const std::wstring& path : paths) {
    const std::size_t cut = path.rfind(L'\\');
    const std::wstring folder = path.substr(0, cut + 1), name = path.substr(cut + 1);
    if (folder != folderPath_) {
      if (folder_) CloseHandle(folder_);
      folderPath_ = folder;
      folder_ = OpenIn(rootHandle_, folder.substr(root_.size(), folder.size() - root_.size() - 1),
                       FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES, FILE_DIRECTORY_FILE);
      if (!folder_ || !Identity(folder_, wine_) || (wine_ && Held(folder_).empty())) continue;
    }
    HANDLE h = OpenIn(folder_, name, DELETE | FILE_READ_ATTRIBUTES, FILE_NON_DIRECTORY_FILE);
    if (!h) continue;
    if ((!wine_ || !Held(h).empty()) && SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition))
      ++gone;
    CloseHandle(h);
  }
  return gone;
}

int BareOverwrite(const std::vector<std::wstring>& paths, const std::vector<std::uint64_t>& bytes,
                  std::size_t chunk) {
  const std::string zeros(chunk, '0');
  int gone = 0;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    HANDLE h = CreateFileW(paths[i].c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) continue;
    for (std::uint64_t done = 0; done < bytes[i];) {
      const DWORD n = DWORD(std::min<std::uint64_t>(chunk, bytes[i] - done));
      DWORD written = 0;
      if (!WriteFile(h, zeros.data(), n, &written, nullptr)) break;
      done += n;
    }
    FlushFileBuffers(h);
    CloseHandle(h);
    gone += DeleteFileW(paths[i].c_str()) ? 1 : 0;
  }
  return gone;
}

}  // namespace bench
