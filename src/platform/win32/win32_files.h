#pragma once
#include "platform/files.h"

namespace veltrane::win32 {

// The file system through the wide API; paths are UTF-8 in, UTF-16 to Windows.
class Win32FileSystem : public platform::FileSystem {
 public:
  std::unique_ptr<platform::DirListing> List(const std::string& folder,
                                             std::uint32_t filter) override;
  std::optional<std::uint32_t> Attributes(const std::string& path) override;
  bool Delete(const std::string& path) override;
  std::unique_ptr<platform::WipeTarget> OpenToErase(const std::string& path) override;
  std::unique_ptr<platform::ByteStream> OpenRead(const std::string& path) override;
};

}  // namespace veltrane::win32
