#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace veltrane::fake {

// An in-memory registry with the status codes of the real one. Keys live
// under HKEY_CURRENT_USER only; key paths and value names compare without
// regard to case. Every handle that Open gives out is counted until Close.
class FakeRegistry : public platform::Registry {
 public:
  static constexpr platform::RegStatus kAccessDenied = 5;
  static constexpr platform::RegStatus kKeyDeleted = 1018;

  struct OpenCall {
    platform::RegRoot root;
    std::string path;
    std::uint32_t options;
    std::uint32_t access;
    platform::RegStatus status;
  };

  // Set-up, as the test sees it. Missing parent keys are made on the way.
  void CreateKey(const std::string& path);
  void RemoveKey(const std::string& path);  // with its sub-keys
  void SetValue(const std::string& path, const std::string& name, std::uint32_t type,
                std::vector<std::uint8_t> bytes);
  void SetString(const std::string& path, const std::string& name, const std::string& text,
                 bool withNul = true);
  void SetDword(const std::string& path, const std::string& name, std::uint32_t number);
  bool HasValue(const std::string& path, const std::string& name) const;
  std::optional<std::vector<std::uint8_t>> ValueBytes(const std::string& path,
                                                      const std::string& name) const;
  // Only these rights are granted on the key: an Open asking any other fails
  // with access denied, as for an account lacking them.
  void SetGrantedAccess(const std::string& path, std::uint32_t granted);
  // Runs once after each successful QueryInfo, right before the next
  // QueryData: a test can grow or shrink a value in between.
  void SetBetweenQueriesHook(std::function<void()> hook) { betweenQueries_ = std::move(hook); }

  int OpenKeyCount() const { return static_cast<int>(handles_.size()); }
  const std::vector<OpenCall>& Opens() const { return opens_; }
  int CloseCalls() const { return closeCalls_; }
  std::string ToString() const;

  platform::RegStatus Open(platform::RegRoot root, const std::string& path, std::uint32_t options,
                           std::uint32_t access, platform::RegKey& key) override;
  platform::RegStatus QueryInfo(platform::RegKey key, const std::string& name,
                                std::uint32_t& type, std::uint32_t& size) override;
  platform::RegStatus QueryData(platform::RegKey key, const std::string& name,
                                std::uint32_t& type, std::vector<std::uint8_t>& buffer,
                                std::uint32_t& size) override;
  platform::RegStatus DeleteValue(platform::RegKey key, const std::string& name) override;
  platform::RegStatus Close(platform::RegKey key) override;

 private:
  struct Value {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> bytes;
  };
  struct Key {
    std::string path;  // as first created
    std::vector<Value> values;
    std::optional<std::uint32_t> granted;
  };

  Key* FindKey(const std::string& path);
  const Key* FindKey(const std::string& path) const;
  Key& MakeKey(const std::string& path);
  // The key an open handle names; null for 0, a closed handle or a deleted key.
  Key* KeyOf(platform::RegKey key, platform::RegStatus& status);
  static Value* FindValue(Key& key, const std::string& name);

  std::map<std::string, Key> keys_;  // by folded path
  std::map<platform::RegKey, std::string> handles_;
  platform::RegKey nextHandle_ = 0x100;
  std::vector<OpenCall> opens_;
  int closeCalls_ = 0;
  std::function<void()> betweenQueries_;
  bool queryInfoPending_ = false;
};

}  // namespace veltrane::fake
