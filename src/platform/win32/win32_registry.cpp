#include "platform/win32/win32_registry.h"

#include "platform/win32/utf.h"

namespace veltrane::win32 {

using platform::RegKey;
using platform::RegStatus;

namespace {

// A predefined root travels as its 32-bit value; HKEY values of the roots are
// that value sign-extended.
HKEY RootKey(platform::RegRoot root) {
  return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
}

struct RawValue {
  DWORD type = 0;
  std::vector<std::uint8_t> bytes;
};

// The value's type and stored bytes. On failure the status of the last call;
// `out` then holds nothing of use. Most values fit the first read's buffer,
// so they cost one call; a longer one, or one that grows meanwhile, is read
// again at the size it reported, a few times, before ERROR_MORE_DATA is
// handed on.
RegStatus ReadRaw(HKEY key, const std::wstring& name, RawValue& out) {
  constexpr DWORD kFirstRead = 512;
  DWORD size = kFirstRead;
  LONG status = ERROR_MORE_DATA;
  for (int attempt = 0; status == ERROR_MORE_DATA && attempt < 5; ++attempt) {
    out.bytes.assign(size, 0);
    status = RegQueryValueExW(key, name.c_str(), nullptr, &out.type,
                              out.bytes.empty() ? nullptr : out.bytes.data(), &size);
  }
  if (status == ERROR_SUCCESS) out.bytes.resize(size);
  return status;
}

// A string value as the program sees it: its UTF-16 text in UTF-8, embedded
// and terminating NULs kept, an odd trailing byte dropped.
std::string StringData(const std::vector<std::uint8_t>& bytes) {
  std::wstring text(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < text.size(); ++i)
    text[i] = wchar_t(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  return Narrow(text);
}

// The data the program gets for a raw value: strings converted, the rest as stored.
std::vector<std::uint8_t> ProgramData(const RawValue& raw) {
  if (raw.type != REG_SZ) return raw.bytes;
  const std::string text = StringData(raw.bytes);
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace

HKEY Win32Registry::Find(RegKey key) const {
  const auto it = keys_.find(key);
  return it == keys_.end() ? nullptr : it->second.Get();
}

// Failure: `key` is 0 and nothing stays open.
RegStatus Win32Registry::Open(platform::RegRoot root, const std::string& path,
                              std::uint32_t options, std::uint32_t access, RegKey& key) {
  key = 0;
  HKEY opened = nullptr;
  const LONG status = RegOpenKeyExW(RootKey(root), Widen(path).c_str(), options, access, &opened);
  if (status != ERROR_SUCCESS) return status;
  key = reinterpret_cast<RegKey>(opened);
  keys_[key] = KeyHandle(opened);
  return ERROR_SUCCESS;
}

// Failure: `type` and `size` unchanged. For a string the size is that of the
// converted text, so it needs the data read as well.
RegStatus Win32Registry::QueryInfo(RegKey key, const std::string& name, std::uint32_t& type,
                                   std::uint32_t& size) {
  const HKEY h = Find(key);
  if (!h) return platform::kRegInvalidHandle;
  RawValue raw;
  const RegStatus read = ReadRaw(h, Widen(name), raw);
  if (read != ERROR_SUCCESS) return read;
  type = raw.type;
  size = std::uint32_t(raw.type == REG_SZ ? ProgramData(raw).size() : raw.bytes.size());
  return ERROR_SUCCESS;
}

// Failure: `type`, `size` and `buffer` unchanged, except for kRegMoreData,
// which reports the type and the size the data needs, as Windows does.
RegStatus Win32Registry::QueryData(RegKey key, const std::string& name, std::uint32_t& type,
                                   std::vector<std::uint8_t>& buffer, std::uint32_t& size) {
  const HKEY h = Find(key);
  if (!h) return platform::kRegInvalidHandle;
  RawValue raw;
  const RegStatus status = ReadRaw(h, Widen(name), raw);
  if (status != ERROR_SUCCESS) return status;
  const std::vector<std::uint8_t> data = ProgramData(raw);
  type = raw.type;
  size = std::uint32_t(data.size());
  if (data.size() > buffer.size()) return platform::kRegMoreData;
  std::copy(data.begin(), data.end(), buffer.begin());
  return ERROR_SUCCESS;
}

RegStatus Win32Registry::DeleteValue(RegKey key, const std::string& name) {
  const HKEY h = Find(key);
  if (!h) return platform::kRegInvalidHandle;
  return RegDeleteValueW(h, Widen(name).c_str());
}

// The key is forgotten whatever RegCloseKey says: a handle cannot be closed twice.
RegStatus Win32Registry::Close(RegKey key) {
  const auto it = keys_.find(key);
  if (it == keys_.end()) return platform::kRegInvalidHandle;
  const HKEY h = it->second.Release();
  keys_.erase(it);
  return RegCloseKey(h);
}

}  // namespace veltrane::win32
