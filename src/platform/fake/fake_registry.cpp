#include "platform/fake/fake_registry.h"

#include <algorithm>
#include <sstream>

#include "platform/fake/fold_case.h"

namespace veltrane::fake {

using platform::RegKey;
using platform::RegStatus;

namespace {

// "A\B\" and "a\b" name the same key.
std::string KeyName(const std::string& path) {
  std::string folded = FoldCase(path);
  while (!folded.empty() && folded.back() == '\\') folded.pop_back();
  return folded;
}

bool IsPredefinedRoot(platform::RegRoot root) { return root >= 0x80000000u && root <= 0x80000006u; }

}  // namespace

FakeRegistry::Key* FakeRegistry::FindKey(const std::string& path) {
  auto it = keys_.find(KeyName(path));
  return it == keys_.end() ? nullptr : &it->second;
}

const FakeRegistry::Key* FakeRegistry::FindKey(const std::string& path) const {
  auto it = keys_.find(KeyName(path));
  return it == keys_.end() ? nullptr : &it->second;
}

FakeRegistry::Key& FakeRegistry::MakeKey(const std::string& path) {
  std::string name = KeyName(path);
  for (std::size_t cut = name.find('\\'); cut != std::string::npos; cut = name.find('\\', cut + 1))
    keys_.try_emplace(name.substr(0, cut), Key{path.substr(0, cut), {}, {}});
  return keys_.try_emplace(name, Key{path, {}, {}}).first->second;
}

FakeRegistry::Value* FakeRegistry::FindValue(Key& key, const std::string& name) {
  std::string folded = FoldCase(name);
  for (Value& v : key.values)
    if (FoldCase(v.name) == folded) return &v;
  return nullptr;
}

void FakeRegistry::CreateKey(const std::string& path) { MakeKey(path); }

void FakeRegistry::RemoveKey(const std::string& path) {
  std::string name = KeyName(path);
  std::string below = name + "\\";
  for (auto it = keys_.begin(); it != keys_.end();) {
    if (it->first == name || it->first.compare(0, below.size(), below) == 0)
      it = keys_.erase(it);
    else
      ++it;
  }
}

void FakeRegistry::SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                            std::vector<std::uint8_t> bytes) {
  Key& key = MakeKey(path);
  if (Value* v = FindValue(key, name)) {
    v->type = type;
    v->bytes = std::move(bytes);
  } else {
    key.values.push_back(Value{name, type, std::move(bytes)});
  }
}

void FakeRegistry::SetString(const std::string& path, const std::string& name,
                             const std::string& text, bool withNul) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  if (withNul) bytes.push_back(0);
  SetValue(path, name, platform::kRegSz, std::move(bytes));
}

void FakeRegistry::SetDword(const std::string& path, const std::string& name, std::uint32_t number) {
  SetValue(path, name, platform::kRegDword,
           {std::uint8_t(number), std::uint8_t(number >> 8), std::uint8_t(number >> 16),
            std::uint8_t(number >> 24)});
}

bool FakeRegistry::HasValue(const std::string& path, const std::string& name) const {
  return ValueBytes(path, name).has_value();
}

std::optional<std::vector<std::uint8_t>> FakeRegistry::ValueBytes(const std::string& path,
                                                                  const std::string& name) const {
  const Key* key = FindKey(path);
  if (!key) return std::nullopt;
  std::string folded = FoldCase(name);
  for (const Value& v : key->values)
    if (FoldCase(v.name) == folded) return v.bytes;
  return std::nullopt;
}

void FakeRegistry::SetGrantedAccess(const std::string& path, std::uint32_t granted) {
  MakeKey(path).granted = granted;
}

RegStatus FakeRegistry::Open(platform::RegRoot root, const std::string& path, std::uint32_t options,
                             std::uint32_t access, RegKey& key) {
  key = 0;
  RegStatus status = platform::kRegOk;
  const Key* found = root == platform::kHkeyCurrentUser ? FindKey(path) : nullptr;
  if (root != platform::kHkeyCurrentUser)
    status = IsPredefinedRoot(root) ? platform::kRegFileNotFound : platform::kRegInvalidHandle;
  else if (!found && !KeyName(path).empty())
    status = platform::kRegFileNotFound;
  else if (found && found->granted && (access & ~*found->granted) != 0)
    status = kAccessDenied;
  if (status == platform::kRegOk) {
    key = nextHandle_;
    nextHandle_ += 4;
    handles_[key] = KeyName(path);
  }
  opens_.push_back(OpenCall{root, path, options, access, status});
  return status;
}

FakeRegistry::Key* FakeRegistry::KeyOf(RegKey key, RegStatus& status) {
  auto it = handles_.find(key);
  if (it == handles_.end()) {
    status = platform::kRegInvalidHandle;
    return nullptr;
  }
  if (it->second.empty()) return &MakeKey("");  // the root itself
  Key* found = FindKey(it->second);
  status = found ? platform::kRegOk : kKeyDeleted;
  return found;
}

RegStatus FakeRegistry::QueryInfo(RegKey key, const std::string& name, std::uint32_t& type,
                                  std::uint32_t& size) {
  RegStatus status = platform::kRegOk;
  Key* k = KeyOf(key, status);
  if (!k) return status;
  Value* v = FindValue(*k, name);
  if (!v) return platform::kRegFileNotFound;
  type = v->type;
  size = static_cast<std::uint32_t>(v->bytes.size());
  queryInfoPending_ = true;
  return platform::kRegOk;
}

RegStatus FakeRegistry::QueryData(RegKey key, const std::string& name, std::uint32_t& type,
                                  std::vector<std::uint8_t>& buffer, std::uint32_t& size) {
  if (queryInfoPending_) {
    queryInfoPending_ = false;
    if (betweenQueries_) betweenQueries_();
  }
  RegStatus status = platform::kRegOk;
  Key* k = KeyOf(key, status);
  if (!k) return status;
  Value* v = FindValue(*k, name);
  if (!v) return platform::kRegFileNotFound;
  type = v->type;
  // As the real call: too small a buffer reports the size needed, copies nothing.
  size = static_cast<std::uint32_t>(v->bytes.size());
  if (v->bytes.size() > buffer.size()) return platform::kRegMoreData;
  std::copy(v->bytes.begin(), v->bytes.end(), buffer.begin());
  return platform::kRegOk;
}

RegStatus FakeRegistry::DeleteValue(RegKey key, const std::string& name) {
  RegStatus status = platform::kRegOk;
  Key* k = KeyOf(key, status);
  if (!k) return status;
  std::string folded = FoldCase(name);
  for (auto it = k->values.begin(); it != k->values.end(); ++it) {
    if (FoldCase(it->name) == folded) {
      k->values.erase(it);
      return platform::kRegOk;
    }
  }
  return platform::kRegFileNotFound;
}

RegStatus FakeRegistry::Close(RegKey key) {
  ++closeCalls_;
  return handles_.erase(key) ? platform::kRegOk : platform::kRegInvalidHandle;
}

std::string FakeRegistry::ToString() const {
  std::ostringstream out;
  out << "HKCU (" << handles_.size() << " open)\n";
  for (const auto& [name, key] : keys_) {
    out << "  [" << key.path << "]";
    if (key.granted) out << " granted 0x" << std::hex << *key.granted << std::dec;
    out << "\n";
    for (const Value& v : key.values) {
      out << "    \"" << v.name << "\" type " << v.type << ", " << v.bytes.size() << " bytes:";
      for (std::uint8_t b : v.bytes) out << ' ' << int(b);
      out << "\n";
    }
  }
  return out.str();
}

}  // namespace veltrane::fake
