#pragma once
#include <cstddef>
#include <map>

#include "platform/registry.h"
#include "platform/win32/handles.h"

namespace veltrane::win32 {

// The registry through the wide API. Every key handed out stays owned here
// until Close, so a key the caller forgets is still closed with this object,
// and Close, Query or Delete on a key not handed out fails without effect.
class Win32Registry : public platform::Registry {
 public:
  platform::RegStatus Open(platform::RegRoot root, const std::string& path, std::uint32_t options,
                           std::uint32_t access, platform::RegKey& key) override;
  platform::RegStatus QueryInfo(platform::RegKey key, const std::string& name,
                                std::uint32_t& type, std::uint32_t& size) override;
  platform::RegStatus QueryData(platform::RegKey key, const std::string& name,
                                std::uint32_t& type, std::vector<std::uint8_t>& buffer,
                                std::uint32_t& size) override;
  platform::RegStatus DeleteValue(platform::RegKey key, const std::string& name) override;
  platform::RegStatus Close(platform::RegKey key) override;

  // Keys opened and not yet closed.
  std::size_t OpenKeyCount() const { return keys_.size(); }

 private:
  HKEY Find(platform::RegKey key) const;
  std::map<platform::RegKey, KeyHandle> keys_;
};

}  // namespace veltrane::win32
