#include "platform/win32/nt_file.h"

#include <winternl.h>

#include <cstring>
#include <vector>

namespace veltrane::win32 {

namespace {

constexpr LONG kStatusInvalidName = LONG(0xC0000033);  // STATUS_OBJECT_NAME_INVALID
constexpr auto kFileAttributeTagInformation = FILE_INFORMATION_CLASS(35);

// One part of a path: a listed name, never a step or a path of its own.
bool IsOnePart(std::wstring_view name) {
  return !name.empty() && name != L"." && name != L".." &&
         name.find_first_of(std::wstring_view(L"\\/\0", 3)) == std::wstring_view::npos;
}

}  // namespace

FileHandle OpenIn(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share,
                  ULONG disposition, ULONG options, LONG* status) {
  if (!IsOnePart(name) || name.size() > 32767) {
    if (status) *status = kStatusInvalidName;
    return FileHandle();
  }
  UNICODE_STRING text;
  text.Buffer = const_cast<PWSTR>(name.data());
  text.Length = text.MaximumLength = USHORT(name.size() * sizeof(wchar_t));
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
  IO_STATUS_BLOCK io{};
  HANDLE opened = nullptr;
  const NTSTATUS result =
      NtCreateFile(&opened, access | SYNCHRONIZE, &attributes, &io, nullptr, FILE_ATTRIBUTE_NORMAL, share,
                   disposition,
                   options | FILE_OPEN_REPARSE_POINT | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_FOR_BACKUP_INTENT,
                   nullptr, 0);
  if (status) *status = result;
  return result < 0 || !opened ? FileHandle() : FileHandle(opened);
}

FileHandle OpenFolderByPath(const std::wstring& exactPath) {
  return FileHandle(CreateFileW(exactPath.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES,
                                kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Read from the object name ("\??\C:\..."): Wine 8's GetFinalPathNameByHandleW
// fails past 260 characters.
std::wstring HeldPath(HANDLE h) {
  // Sized for the longest path there can be; kept, as the removal asks once a file.
  static std::vector<ULONG_PTR> buffer(
      (sizeof(OBJECT_NAME_INFORMATION) + 65536 + sizeof(ULONG_PTR)) / sizeof(ULONG_PTR));
  ULONG got = 0;
  if (NtQueryObject(h, ObjectNameInformation, buffer.data(), ULONG(buffer.size() * sizeof(ULONG_PTR)), &got) < 0)
    return {};
  const auto* name = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(buffer.data());
  std::wstring path(name->Name.Buffer, name->Name.Length / sizeof(wchar_t));
  if (path.rfind(L"\\??\\", 0) != 0) return {};
  path[1] = L'\\';
  return path;
}

std::optional<std::uint64_t> FileIdOf(HANDLE h) {
  IO_STATUS_BLOCK io{};
  LARGE_INTEGER id{};
  if (NtQueryInformationFile(h, &io, &id, sizeof id, FileInternalInformation) < 0) return std::nullopt;
  return std::uint64_t(id.QuadPart);
}

std::optional<platform::FolderId> VolumeAndFileIdOf(HANDLE h) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(h, &info)) return std::nullopt;
  return platform::FolderId{info.dwVolumeSerialNumber,
                            (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

ULONG ReparseTagOf(HANDLE h) {
  struct {
    ULONG attributes;
    ULONG tag;
  } info{};
  IO_STATUS_BLOCK io{};
  if (NtQueryInformationFile(h, &io, &info, sizeof info, kFileAttributeTagInformation) < 0) return 0;
  return info.attributes & FILE_ATTRIBUTE_REPARSE_POINT ? info.tag : 0;
}

bool RenameInto(HANDLE file, HANDLE folder, std::wstring_view name) {
  if (!IsOnePart(name)) return false;
  std::vector<ULONG_PTR> buffer((sizeof(FILE_RENAME_INFORMATION) + name.size() * sizeof(wchar_t)) /
                                    sizeof(ULONG_PTR) + 1);
  auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = folder;
  rename->FileNameLength = ULONG(name.size() * sizeof(wchar_t));
  std::memcpy(rename->FileName, name.data(), rename->FileNameLength);
  IO_STATUS_BLOCK io{};
  return NtSetInformationFile(file, &io, rename, ULONG(buffer.size() * sizeof(ULONG_PTR)), FileRenameInformation) >= 0;
}

}  // namespace veltrane::win32
