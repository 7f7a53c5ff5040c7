#include "platform/win32/win32_files.h"

#include "platform/win32/exact_path.h"
#include "platform/win32/handles.h"
#include "platform/win32/link_check.h"
#include "platform/win32/opened_file.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_wipe_target.h"

namespace veltrane::win32 {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr std::uint32_t kFilterBits =
    platform::kAttrHidden | platform::kAttrSystem | platform::kAttrDirectory;

// An entry passes when each of its hidden, system and folder bits is in the filter.
bool Passes(std::uint32_t attributes, std::uint32_t filter) {
  return (attributes & kFilterBits & ~filter) == 0;
}

class Win32Listing : public platform::DirListing {
 public:
  Win32Listing() = default;  // empty
  Win32Listing(const std::wstring& folder, std::uint32_t filter) : filter_(filter) {
    // Failure (missing folder, not a folder, no rights): an empty listing.
    find_.Reset(FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data_,
                                 FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    pending_ = bool(find_);
  }

  bool Next(platform::DirEntry& entry) override {
    while (pending_) {
      const WIN32_FIND_DATAW current = data_;
      // Any failure of FindNextFileW, not only ERROR_NO_MORE_FILES, ends the listing.
      pending_ = FindNextFileW(find_.Get(), &data_) != FALSE;
      if (!pending_) find_.Reset();
      if (Passes(current.dwFileAttributes, filter_)) {
        entry.name = Narrow(current.cFileName);
        entry.attributes = current.dwFileAttributes;
        return true;
      }
    }
    return false;
  }

 private:
  std::uint32_t filter_ = 0;
  FindHandle find_;
  WIN32_FIND_DATAW data_{};
  bool pending_ = false;  // data_ holds an entry not yet handed out
};

class Win32ByteStream : public platform::ByteStream {
 public:
  explicit Win32ByteStream(FileHandle file) : file_(std::move(file)) {}
  // A failed read gives 0, like the end of the file.
  std::size_t Read(char* buffer, std::size_t n) override {
    DWORD got = 0;
    const DWORD want = n > 0x10000000 ? 0x10000000 : DWORD(n);
    if (!ReadFile(file_.Get(), buffer, want, &got, nullptr)) return 0;
    return got;
  }

 private:
  FileHandle file_;
};

}  // namespace

// A path that names nothing (see ExactPath) lists nothing.
std::unique_ptr<platform::DirListing> Win32FileSystem::List(const std::string& folder,
                                                            std::uint32_t filter) {
  const std::optional<std::wstring> exact = ExactPath(folder);
  if (!exact) return std::make_unique<Win32Listing>();
  return std::make_unique<Win32Listing>(*exact, filter);
}

// Failure: nothing (INVALID_FILE_ATTRIBUTES).
std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
  const std::optional<std::wstring> exact = ExactPath(path);
  if (!exact) return std::nullopt;
  const DWORD attributes = GetFileAttributesW(exact->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

// Deleted through a handle of its own, as DeleteFileW does, so that the name
// checked is the name deleted. Failure (missing, read-only, held open without
// leave to delete, a folder, no rights, a link that cannot be told from a
// file): false, nothing changed. A folder fails the open (no
// FILE_FLAG_BACKUP_SEMANTICS), so no attribute query is needed.
//
// The sequence is the least a sound delete needs. On Windows: open (the link
// itself, if the name is one), mark, close. Under Wine, where every call on a
// handle is a round trip to the wine server (~45 us here), one more for the
// link check (the path Wine holds for the handle): Wine 8 opens the target of
// a file link, gives no sign of the link by name, and unlinks what a marked
// handle resolved to, so the mark must never be set through a link.
bool Win32FileSystem::Delete(const std::string& path) {
  const std::optional<std::wstring> exact = ExactPath(path);
  if (!exact) return false;
  const std::wstring& name = *exact;
  FileHandle file(CreateFileW(name.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return false;
  switch (check_ == LinkCheck::Handle ? Reached::Name : ReachedByFinalPath(file.Get(), name)) {
    case Reached::Name: {
      const bool marked = MarkForDeletion(file.Get());
      file.Reset();  // the name goes with the handle
      return marked;
    }
    case Reached::LinkTarget:
      file.Reset();
      return DeleteLinkName(name);
    case Reached::Unknown:
      break;
  }
  return false;
}

std::unique_ptr<platform::WipeTarget> Win32FileSystem::OpenToErase(const std::string& path) {
  const std::optional<std::wstring> exact = ExactPath(path);
  if (!exact) return nullptr;
  return OpenWipeTarget(*exact, check_);
}

// Failure: null. Readers never lock writers out of a file they read.
std::unique_ptr<platform::ByteStream> Win32FileSystem::OpenRead(const std::string& path) {
  const std::optional<std::wstring> exact = ExactPath(path);
  if (!exact) return nullptr;
  FileHandle file(CreateFileW(exact->c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return nullptr;
  return std::make_unique<Win32ByteStream>(std::move(file));
}

}  // namespace veltrane::win32
