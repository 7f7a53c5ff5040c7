#pragma once
#include "platform/files.h"

namespace veltrane::win32 {

// How the file layer tells a link from the file that its name stands for.
enum class LinkCheck {
  // Windows: a handle opened with FILE_FLAG_OPEN_REPARSE_POINT is the link
  // itself, and the reparse attribute and link count of that one handle say
  // all; the deletion mark on it removes only the link.
  Handle,
  // Wine 8: a link to a file opens as its target, so the handle's final path
  // is set against the path opened (see ReachedByFinalPath).
  FinalPath,
};

// FinalPath under Wine (ntdll exports wine_get_version), Handle elsewhere;
// asked once.
LinkCheck DetectLinkCheck();

// The file system through the wide API; paths are UTF-8 in, and every one
// reaches Windows in its ExactPath form. A path without one names nothing:
// it lists nothing, has no attributes, and is neither opened nor deleted.
class Win32FileSystem : public platform::FileSystem {
 public:
  explicit Win32FileSystem(LinkCheck check = DetectLinkCheck()) : check_(check) {}

  std::unique_ptr<platform::DirListing> List(const std::string& folder,
                                             std::uint32_t filter) override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool Delete(const std::string& path) override;
  std::unique_ptr<platform::WipeTarget> OpenToErase(const std::string& path) override;
  std::unique_ptr<platform::ByteStream> OpenRead(const std::string& path) override;

 private:
  LinkCheck check_;
};

}  // namespace veltrane::win32
