#include "platform/win32/win32_wipe_target.h"

#include "platform/win32/handles.h"
#include "platform/win32/link_check.h"
#include "platform/win32/opened_file.h"

namespace veltrane::win32 {

namespace {

using Kind = platform::WipeTarget::Kind;

class Win32WipeTarget : public platform::WipeTarget {
 public:
  // `handleIsName`: the handle is the named file (or the link itself), so it
  // may carry the deletion; otherwise the name is a link the open went through.
  Win32WipeTarget(FileHandle file, Kind kind, bool handleIsName, std::wstring path)
      : file_(std::move(file)), kind_(kind), handleIsName_(handleIsName), path_(std::move(path)) {}

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

  // The handle is closed whatever happens; false when the name is still there.
  bool Delete() override {
    if (!file_) return false;
    if (!handleIsName_) {
      file_.Reset();  // the target must be closed before a rename can replace the name
      return DeleteLinkName(path_);
    }
    const bool marked = MarkForDeletion(file_.Get());
    file_.Reset();  // the name goes with the last handle
    return marked;
  }

 private:
  bool Writable() const { return file_ && kind_ != Kind::Link; }

  FileHandle file_;
  Kind kind_;
  bool handleIsName_;
  std::wstring path_;
};

}  // namespace

// Failure (missing, read-only, a folder, held open by anyone, no rights): null,
// and nothing was created or truncated: OPEN_EXISTING never does either.
std::unique_ptr<platform::WipeTarget> OpenWipeTarget(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES, 0,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file) return nullptr;
  const std::optional<OpenedInfo> info = QueryOpened(file.Get());
  if (!info) return nullptr;
  // Windows refuses to open these for writing; Wine run as root does not,
  // since it maps read-only onto the unix write permission.
  if (info->attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return nullptr;

  Kind kind = Kind::Plain;
  bool handleIsName = true;
  if (info->attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    kind = Kind::Link;  // Windows opened the link itself
  } else if (NameLeadsElsewhere(file.Get(), path)) {
    kind = Kind::Link;  // Wine opened the target
    handleIsName = false;
  } else if (info->links > 1) {
    kind = Kind::HardLinked;
  }
  return std::make_unique<Win32WipeTarget>(std::move(file), kind, handleIsName, path);
}

}  // namespace veltrane::win32
