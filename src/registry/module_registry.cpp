#include "registry/module_registry.h"

#include <vector>

namespace veltrane {

using platform::RegKey;
using platform::RegStatus;

namespace {

// A key opened with the program's mask, closed on every way out: a value too
// big to hold (std::bad_alloc) must not leave the key open behind it. Closed
// also when the open failed: a close of key 0 fails without effect.
class OpenedKey {
 public:
  OpenedKey(platform::Registry& registry, platform::RegRoot root, const std::string& path)
      : registry_(registry) {
    registry_.Open(root, path, 0, kKeyAccess, key_);
  }
  ~OpenedKey() { registry_.Close(key_); }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  RegKey Get() const { return key_; }

 private:
  platform::Registry& registry_;
  RegKey key_ = 0;
};

}  // namespace

RegValue GetRegValue(platform::Registry& registry, platform::RegRoot root,
                     const std::string& keyPath, const std::string& valueName) {
  const OpenedKey key(registry, root, keyPath);
  RegValue value;
  QueryRegValue(registry, key.Get(), valueName, value);
  return value;
}

RegStatus QueryRegValue(platform::Registry& registry, RegKey key, const std::string& valueName,
                        RegValue& value) {
  std::uint32_t type = 0, size = 0;
  RegStatus status = registry.QueryInfo(key, valueName, type, size);
  if (status != platform::kRegOk) return status;

  switch (type) {
    case platform::kRegSz: {
      std::vector<std::uint8_t> buffer(size, 0);
      status = registry.QueryData(key, valueName, type, buffer, size);
      // A value that grew since the size query no longer fits: nothing. One
      // that shrank is cut at the count the data query reported.
      if (status == platform::kRegOk && type == platform::kRegSz && size <= buffer.size())
        value = std::string(buffer.begin(), buffer.begin() + size);
      return status;
    }
    case platform::kRegDword: {
      // Never more than 4 bytes into the number; fewer fill its low end.
      std::vector<std::uint8_t> buffer(4, 0);
      std::uint32_t got = 4;
      status = registry.QueryData(key, valueName, type, buffer, got);
      if (status == platform::kRegOk && type == platform::kRegDword && got <= 4) {
        std::uint32_t n = 0;
        for (std::uint32_t i = 0; i < got; ++i) n |= std::uint32_t(buffer[i]) << (8 * i);
        value = static_cast<std::int32_t>(n);
      }
      return status;
    }
    default:
      return -1;
  }
}

void DeleteRegValue(platform::Registry& registry, platform::RegRoot root,
                    const std::string& keyPath, const std::string& valueName) {
  const OpenedKey key(registry, root, keyPath);
  registry.DeleteValue(key.Get(), valueName);
}

bool EndsTypedList(const RegValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return true;
  if (const auto* text = std::get_if<std::string>(&value)) return text->empty();
  return false;
}

std::string RegValueText(const RegValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
  return {};
}

std::string TypedUrlName(int n) { return "Url" + std::to_string(n); }

}  // namespace veltrane
