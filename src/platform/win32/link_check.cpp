#include "platform/win32/link_check.h"

#include "platform/win32/nt_file.h"
#include "platform/win32/opened_file.h"

namespace veltrane::win32 {

namespace {

constexpr LONG kStatusNotFound = LONG(0xC0000034);       // STATUS_OBJECT_NAME_NOT_FOUND
constexpr LONG kStatusNameCollision = LONG(0xC0000035);  // STATUS_OBJECT_NAME_COLLISION
constexpr int kSpareNames = 8;

// Wine holds "foo." and "bar " under their names less the trailing dots and
// blanks, so such a file and a link from that name to "foo" beside it look
// alike. The file under "foo" tells: none, or another one, and the open
// reached the name itself; the same one with no other name, and the name is
// a link to it; the same one with further names cannot be told.
Reached BesideItsPlainName(HANDLE opened, HANDLE folder, const std::wstring& plainName) {
  LONG status = 0;
  const FileHandle plain = OpenIn(folder, plainName, FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN, 0, &status);
  if (!plain) return status == kStatusNotFound ? Reached::Name : Reached::Unknown;
  const std::optional<std::uint64_t> a = FileIdOf(opened), b = FileIdOf(plain.Get());
  const std::optional<OpenedInfo> info = QueryOpened(opened);
  if (!a || !b || !info) return Reached::Unknown;
  if (*a != *b) return Reached::Name;
  return info->links == 1 ? Reached::LinkTarget : Reached::Unknown;
}

}  // namespace

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), int(a.size()), b.c_str(), int(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring WithoutTrailingDotsAndBlanks(std::wstring name) {
  while (!name.empty() && (name.back() == L'.' || name.back() == L' ')) name.pop_back();
  return name;
}

Reached ReachedIn(HANDLE opened, const HeldFolder& folder, const std::wstring& name) {
  const std::wstring held = HeldPath(opened);
  if (held.empty() || folder.held.empty()) return Reached::Unknown;
  if (SamePath(held, folder.held + name)) return Reached::Name;
  const std::wstring plainName = WithoutTrailingDotsAndBlanks(name);
  if (plainName.empty() || plainName == name || !SamePath(held, folder.held + plainName)) return Reached::LinkTarget;
  return BesideItsPlainName(opened, folder.handle.Get(), plainName);
}

bool DeleteLinkIn(HANDLE folder, const std::wstring& name) {
  const std::wstring spare = name + L"~veltrane-" + std::to_wstring(GetCurrentProcessId());
  // FILE_CREATE: a name that is taken is never reused or truncated; the next one is tried.
  FileHandle created;
  LONG status = kStatusNameCollision;
  for (int n = 0; n < kSpareNames && !created && status == kStatusNameCollision; ++n)
    created = OpenIn(folder, n == 0 ? spare : spare + L"-" + std::to_wstring(n), DELETE | FILE_READ_ATTRIBUTES,
                     0, FILE_CREATE, FILE_NON_DIRECTORY_FILE, &status);
  if (!created) return false;
  // A rename replaces the name it is given, never what that name points to;
  // the file then goes with its handle, under the name it now has.
  const bool replaced = RenameInto(created.Get(), folder, name);
  return MarkForDeletion(created.Get()) && replaced;
}

}  // namespace veltrane::win32
