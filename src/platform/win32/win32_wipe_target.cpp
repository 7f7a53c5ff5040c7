#include "platform/win32/win32_wipe_target.h"

#include "platform/win32/handles.h"
#include "platform/win32/link_check.h"
#include "platform/win32/opened_file.h"

namespace veltrane::win32 {

namespace {

using Kind = platform::WipeTarget::Kind;

class Win32WipeTarget : public platform::WipeTarget {
 public:
  // `linkName`: empty when the handle is the named file (or the link itself)
  // and carries the deletion mark; otherwise the name of a link that the open
  // went through, removed as a link when the target closes.
  Win32WipeTarget(FileHandle file, Kind kind, std::wstring linkName)
      : file_(std::move(file)), kind_(kind), linkName_(std::move(linkName)) {}
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
    file_.Reset();  // a link's target must be closed before a rename can replace the name
    return linkName_.empty() || DeleteLinkName(linkName_);
  }

 private:
  bool Writable() const { return file_ && kind_ != Kind::Link; }

  FileHandle file_;
  Kind kind_;
  std::wstring linkName_;
};

// A link to a read-only file, which Wine opens as its target and so refuses
// to open for writing: opened for deletion alone, it is removed as a link all
// the same. Anything else that cannot be opened for writing stays: null.
std::unique_ptr<platform::WipeTarget> OpenUnwritableLink(const std::wstring& exactPath) {
  FileHandle file(CreateFileW(exactPath.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file || ReachedByFinalPath(file.Get(), exactPath) != Reached::LinkTarget) return nullptr;
  return std::make_unique<Win32WipeTarget>(std::move(file), Kind::Link, exactPath);
}

}  // namespace

// Failure (missing, read-only, a folder, held open by anyone, no rights, a
// link that cannot be told from a file): null, and nothing was created,
// truncated or marked: OPEN_EXISTING never does the first two, and the mark
// is the last step.
std::unique_ptr<platform::WipeTarget> OpenWipeTarget(const std::wstring& exactPath,
                                                     LinkCheck check) {
  FileHandle file(CreateFileW(exactPath.c_str(), GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return check == LinkCheck::FinalPath ? OpenUnwritableLink(exactPath) : nullptr;
  const std::optional<OpenedInfo> info = QueryOpened(file.Get());
  if (!info || (info->attributes & FILE_ATTRIBUTE_DIRECTORY)) return nullptr;

  const Reached reached =
      check == LinkCheck::Handle ? Reached::Name : ReachedByFinalPath(file.Get(), exactPath);
  if (reached == Reached::Unknown) return nullptr;
  if (reached == Reached::LinkTarget)  // the mark would remove the target
    return std::make_unique<Win32WipeTarget>(std::move(file), Kind::Link, exactPath);

  const Kind kind = info->attributes & FILE_ATTRIBUTE_REPARSE_POINT ? Kind::Link  // the link itself
                    : info->links > 1                               ? Kind::HardLinked
                                                                    : Kind::Plain;
  // Marked before anything is written, so that the name goes with the handle
  // however the program ends. A refused mark (a read-only file, which Wine
  // run as root opens for writing all the same) leaves the file untouched.
  if (!MarkForDeletion(file.Get())) return nullptr;
  return std::make_unique<Win32WipeTarget>(std::move(file), kind, std::wstring());
}

}  // namespace veltrane::win32
