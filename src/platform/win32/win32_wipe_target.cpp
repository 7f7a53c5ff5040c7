#include "platform/win32/win32_wipe_target.h"

#include <set>

#include "platform/win32/handles.h"
#include "platform/win32/nt_file.h"
#include "platform/win32/opened_file.h"

namespace veltrane::win32 {

namespace {

using Kind = platform::WipeTarget::Kind;

// File ids of the wipe targets open now; one GUI thread.
std::set<std::uint64_t>& Wiping() {
  static std::set<std::uint64_t> ids;
  return ids;
}

FileHandle Duplicate(HANDLE h) {
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), h, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS))
    return FileHandle();
  return FileHandle(copy);
}

class Win32WipeTarget : public platform::WipeTarget {
 public:
  // `linkFolder`: no handle when the handle is the named file (or the link
  // itself) and carries the deletion mark; otherwise the folder of a link
  // that the open went through, removed as a link when the target closes.
  Win32WipeTarget(FileHandle file, Kind kind, FileHandle linkFolder, std::wstring linkName)
      : file_(std::move(file)), kind_(kind), linkFolder_(std::move(linkFolder)), linkName_(std::move(linkName)) {
    if (!linkFolder_) id_ = FileIdOf(file_.Get());
    if (id_) Wiping().insert(*id_);
  }
  ~Win32WipeTarget() override { Close(); }

  Kind kind() const override { return kind_; }

  // Failure: 0.
  std::uint64_t Length() override {
    LARGE_INTEGER size{};
    if (!file_ || !GetFileSizeEx(file_.Get(), &size)) return 0;
    return std::uint64_t(size.QuadPart);
  }

  // A link is never written through, whatever the caller asks.
  bool Rewind() override {
    if (!Writable()) return false;
    LARGE_INTEGER zero{};
    return SetFilePointerEx(file_.Get(), zero, nullptr, FILE_BEGIN) != FALSE;
  }

  // Failure (disk full, handle gone): false; part of the data may be written.
  bool Write(const char* data, std::size_t n) override {
    if (!Writable()) return false;
    while (n > 0) {
      const DWORD want = n > 0x10000000 ? 0x10000000 : DWORD(n);
      DWORD done = 0;
      if (!WriteFile(file_.Get(), data, want, &done, nullptr) || done == 0) return false;
      data += done;
      n -= done;
    }
    return true;
  }

  bool Flush() override { return Writable() && FlushFileBuffers(file_.Get()) != FALSE; }

  // The marked name goes with the handle.
  bool Close() override {
    if (!file_) return false;
    if (id_) Wiping().erase(*id_);
    file_.Reset();  // a link's target must be closed before a rename can replace the name
    return !linkFolder_ || DeleteLinkIn(linkFolder_.Get(), linkName_);
  }

 private:
  bool Writable() const { return file_ && kind_ != Kind::Link; }

  FileHandle file_;
  Kind kind_;
  FileHandle linkFolder_;
  std::wstring linkName_;
  std::optional<std::uint64_t> id_;
};

std::unique_ptr<platform::WipeTarget> LinkThrough(FileHandle file, const HeldFolder& folder,
                                                  const std::wstring& name) {
  FileHandle linkFolder = Duplicate(folder.handle.Get());
  if (!linkFolder) return nullptr;
  return std::make_unique<Win32WipeTarget>(std::move(file), Kind::Link, std::move(linkFolder), name);
}

// A link to a read-only file, which Wine opens as its target and so refuses
// to open for writing: opened for deletion alone, it is removed as a link all
// the same. Anything else that cannot be opened for writing stays: null.
std::unique_ptr<platform::WipeTarget> OpenUnwritableLink(const HeldFolder& folder, const std::wstring& name) {
  FileHandle file = OpenIn(folder.handle.Get(), name, DELETE | FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN,
                           FILE_NON_DIRECTORY_FILE);
  if (!file || ReachedIn(file.Get(), folder, name) != Reached::LinkTarget) return nullptr;
  return LinkThrough(std::move(file), folder, name);
}

bool Unmark(HANDLE h) {
  FILE_DISPOSITION_INFO disposition{FALSE};
  return SetFileInformationByHandle(h, FileDispositionInfo, &disposition, sizeof disposition) != FALSE;
}

}  // namespace

bool BeingWiped(HANDLE opened) {
  if (Wiping().empty()) return false;
  const std::optional<std::uint64_t> id = FileIdOf(opened);
  return !id || Wiping().count(*id) > 0;
}

// Failure (missing, read-only, a folder, held without leave to write or
// delete, no rights, a link that cannot be told from a file): null, and
// nothing was created, truncated or left marked: FILE_OPEN never does the
// first two, and a mark whose file cannot then be told is taken back.
std::unique_ptr<platform::WipeTarget> OpenWipeTarget(const HeldFolder& folder, const std::wstring& name,
                                                     LinkCheck check) {
  FileHandle file = OpenIn(folder.handle.Get(), name, GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                           FILE_OPEN, FILE_NON_DIRECTORY_FILE);
  if (!file) return check == LinkCheck::FinalPath ? OpenUnwritableLink(folder, name) : nullptr;
  if (BeingWiped(file.Get())) return nullptr;

  const Reached reached = check == LinkCheck::Handle ? Reached::Name : ReachedIn(file.Get(), folder, name);
  if (reached == Reached::Unknown) return nullptr;
  if (reached == Reached::LinkTarget)  // the mark would remove the target
    return LinkThrough(std::move(file), folder, name);

  // Marked before anything is written, so that the name goes with the handle
  // however the program ends. A refused mark (a read-only file, which Wine
  // run as root opens for writing all the same) leaves the file untouched.
  // The names are counted after the mark: from then on no open of the file
  // can make a new one (on Windows; Wine lets it).
  if (!MarkForDeletion(file.Get())) return nullptr;
  const std::optional<OpenedInfo> info = QueryOpened(file.Get());
  if (!info) {
    Unmark(file.Get());
    return nullptr;
  }
  const Kind kind = info->attributes & FILE_ATTRIBUTE_REPARSE_POINT ? Kind::Link  // the link itself
                    : info->OtherNamesAfterTheMark() > 0            ? Kind::HardLinked
                                                                    : Kind::Plain;
  return std::make_unique<Win32WipeTarget>(std::move(file), kind, FileHandle(), std::wstring());
}

}  // namespace veltrane::win32
