#pragma once
#include "platform/files.h"
#include "platform/win32/link_choice.h"

namespace veltrane::win32 {

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
  std::unique_ptr<platform::EraseScope> Within(const std::string& root, platform::WalkedFolders walked) override;
  std::unique_ptr<platform::ByteStream> OpenRead(const std::string& path) override;

 private:
  LinkCheck check_;
};

}  // namespace veltrane::win32
