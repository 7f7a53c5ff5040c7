#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace veltrane::platform {

// Status codes are the platform's own: 0 is success, anything else a failure
// (ERROR_FILE_NOT_FOUND = 2, ERROR_INVALID_HANDLE = 6, ERROR_MORE_DATA = 234).
using RegStatus = std::int32_t;
constexpr RegStatus kRegOk = 0;
constexpr RegStatus kRegFileNotFound = 2;
constexpr RegStatus kRegInvalidHandle = 6;
constexpr RegStatus kRegMoreData = 234;

// Predefined root keys, as their 32-bit handle values.
using RegRoot = std::uint32_t;
constexpr RegRoot kHkeyCurrentUser = 0x80000001u;

using RegKey = std::uintptr_t;  // 0 = no key
constexpr std::uint32_t kRegSz = 1, kRegExpandSz = 2, kRegBinary = 3, kRegDword = 4, kRegMultiSz = 7;

// The registry as the program uses it: open an existing key, ask a value's
// type and size, fetch its data, delete it, close the key. Names are UTF-8.
//
// String data travels as the program sees it: one byte per character of the
// UTF-8 text, its terminating NUL included when the value was stored with it.
// (The real registry stores UTF-16; the win32 layer converts and reports the
// size of the converted text, so "size" always counts the program's bytes.)
//
// Failure rules: a failed Open leaves `key` at 0; a failed Query leaves `type`
// and `size` as they were unless noted; Close and Delete on key 0 fail
// without effect.
class Registry {
 public:
  virtual ~Registry() = default;
  virtual RegStatus Open(RegRoot root, const std::string& path, std::uint32_t options,
                         std::uint32_t access, RegKey& key) = 0;
  // Type and data size of a value, without its data.
  virtual RegStatus QueryInfo(RegKey key, const std::string& name, std::uint32_t& type,
                              std::uint32_t& size) = 0;
  // Data into `buffer` (its size is the capacity); `size` comes back as the
  // bytes delivered. kRegMoreData when the data no longer fit.
  virtual RegStatus QueryData(RegKey key, const std::string& name, std::uint32_t& type,
                              std::vector<std::uint8_t>& buffer, std::uint32_t& size) = 0;
  virtual RegStatus DeleteValue(RegKey key, const std::string& name) = 0;
  virtual RegStatus Close(RegKey key) = 0;
};

}  // namespace veltrane::platform
