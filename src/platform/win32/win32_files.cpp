#include "platform/win32/win32_files.h"

#include <vector>

#include "platform/win32/exact_path.h"
#include "platform/win32/handles.h"
#include "platform/win32/nt_file.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_erase_scope.h"
#include "platform/win32/win32_wipe_target.h"

namespace veltrane::win32 {

namespace {

// Lists the folder through the handle that also gives its identity, so
// that the entries and the identity the scan records are of one folder.
class Win32Listing : public platform::DirListing {
 public:
  Win32Listing() : filter_(0) {}  // empty
  Win32Listing(const std::wstring& folder, std::uint32_t filter, LinkCheck check)
      : filter_(filter), buffer_(kBufferBytes / sizeof(LONGLONG)) {
    // Failure (missing folder, not a folder, no rights): an empty listing.
    folder_ = OpenFolderByPath(folder);
    if (!folder_) return;
    id_ = IdentityOf(folder_.Get(), check);
    Fill(FileFullDirectoryRestartInfo);
  }

  bool Next(platform::DirEntry& entry) override {
    while (at_) {
      const auto* current = at_;
      at_ = current->NextEntryOffset
                ? reinterpret_cast<const FILE_FULL_DIR_INFO*>(reinterpret_cast<const char*>(current) +
                                                             current->NextEntryOffset)
                : nullptr;
      const DWORD attributes = current->FileAttributes;
      const bool passes = platform::PassesFilter(attributes, filter_);
      if (passes) entry.name = Narrow({current->FileName, current->FileNameLength / sizeof(wchar_t)});
      // Any failure to read on, not only the end, ends the listing.
      if (!at_) Fill(FileFullDirectoryInfo);
      if (passes) {
        entry.attributes = attributes;
        return true;
      }
    }
    return false;
  }

  std::optional<platform::FolderId> Folder() const override { return id_; }

 private:
  static constexpr std::size_t kBufferBytes = 64 * 1024;

  // Reads the next batch of entries over the last one.
  void Fill(FILE_INFO_BY_HANDLE_CLASS how) {
    at_ = GetFileInformationByHandleEx(folder_.Get(), how, buffer_.data(), DWORD(kBufferBytes))
              ? reinterpret_cast<const FILE_FULL_DIR_INFO*>(buffer_.data())
              : nullptr;
  }

  std::uint32_t filter_;
  FileHandle folder_;
  std::optional<platform::FolderId> id_;
  std::vector<LONGLONG> buffer_;
  const FILE_FULL_DIR_INFO* at_ = nullptr;  // the next entry not yet handed out
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
  return std::make_unique<Win32Listing>(*exact, filter, check_);
}

// Failure: nothing (INVALID_FILE_ATTRIBUTES).
std::optional<std::uint32_t> Win32FileSystem::Attributes(const std::string& path) {
  const std::optional<std::wstring> exact = ExactPath(path);
  if (!exact) return std::nullopt;
  const DWORD attributes = GetFileAttributesW(exact->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  return attributes;
}

namespace {

// Splits a file path into its folder's exact form (ending in "\") and its
// name; false when the path names nothing (see ExactPath) or ends in "\".
bool SplitName(const std::string& path, std::wstring& folder, std::wstring& name) {
  const std::size_t cut = path.rfind('\\');
  if (cut == std::string::npos || cut + 1 == path.size()) return false;
  std::optional<std::wstring> exact = ExactPath(path.substr(0, cut + 1));
  if (!exact || path.find('\0', cut) != std::string::npos) return false;
  folder = std::move(*exact);
  name = Widen(path.substr(cut + 1));
  return true;
}

}  // namespace

// Failure (missing, read-only, held open without leave to delete, a folder,
// no rights, a link that cannot be told from a file): false, nothing changed.
// The file is opened in its folder, which is reached by its path.
bool Win32FileSystem::Delete(const std::string& path) {
  std::wstring folder, name;
  if (!SplitName(path, folder, name)) return false;
  const HeldFolder held = FolderAt(folder, check_);
  return held.handle && DeleteIn(held, name, check_);
}

std::unique_ptr<platform::WipeTarget> Win32FileSystem::OpenToErase(const std::string& path) {
  std::wstring folder, name;
  if (!SplitName(path, folder, name)) return nullptr;
  const HeldFolder held = FolderAt(folder, check_);
  return held.handle ? OpenWipeTarget(held, name, check_) : nullptr;
}

std::unique_ptr<platform::EraseScope> Win32FileSystem::Within(const std::string& root,
                                                              platform::WalkedFolders walked) {
  return MakeEraseScope(root, std::move(walked), check_);
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
