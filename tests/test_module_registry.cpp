#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "platform/fake/fake_registry.h"
#include "registry/module_registry.h"

namespace veltrane {
namespace {

using Bytes = std::vector<std::uint8_t>;
const std::string kKey = "Software\\Veltrane Test";

std::string Describe(const RegValue& v) {
  if (const auto* text = std::get_if<std::string>(&v)) {
    std::string out = "text(" + std::to_string(text->size()) + ") \"";
    for (char c : *text) out += c ? std::string(1, c) : std::string("\\0");
    return out + "\"";
  }
  if (const auto* number = std::get_if<std::int32_t>(&v)) return "number " + std::to_string(*number);
  return "nothing";
}

class ModuleRegistryTest : public ::testing::Test {
 protected:
  RegValue Get(const std::string& name, const std::string& key = kKey) {
    return GetRegValue(reg, kUserRoot, key, name);
  }
  fake::FakeRegistry reg;
};

TEST_F(ModuleRegistryTest, ValueByType) {
  struct Case {
    const char* name;
    std::uint32_t type;
    Bytes bytes;
    RegValue expected;
  } cases[] = {
      {"path with its NUL", 1, {'C', ':', '\\', 'T', 'e', 'm', 'p', '\\', 0},
       std::string("C:\\Temp\\\0", 9)},
      {"empty string", 1, {0}, std::string(1, '\0')},
      {"no data bytes", 1, {}, std::string()},
      {"without NUL", 1, {'a', 'b'}, std::string("ab")},
      {"dword 7", 4, {7, 0, 0, 0}, std::int32_t{7}},
      {"dword all bits", 4, {0xFF, 0xFF, 0xFF, 0xFF}, std::int32_t{-1}},
      {"dword of two bytes", 4, {7, 1}, std::int32_t{0x107}},
      {"dword of no bytes", 4, {}, std::int32_t{0}},
      {"dword of eight bytes", 4, {1, 0, 0, 0, 2, 0, 0, 0}, std::monostate{}},
      {"expand string", 2, {'C', ':', '\\', 0}, std::monostate{}},
      {"binary", 3, {1, 2}, std::monostate{}},
      {"multi string", 7, {'a', 0, 0}, std::monostate{}},
      {"none", 0, {}, std::monostate{}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reg.SetValue(kKey, c.name, c.type, c.bytes);
    EXPECT_EQ(Describe(Get(c.name)), Describe(c.expected)) << reg.ToString();
    EXPECT_EQ(reg.OpenKeyCount(), 0);
  }
}

TEST_F(ModuleRegistryTest, EveryKeyIsOpenedWithMaskAndClosedAlsoWhenTheOpenFails) {
  reg.SetString(kKey, "v", "x");
  struct Case {
    const char* name;
    std::string key, value;
    bool read;
  } cases[] = {
      {"value read", kKey, "v", true},
      {"missing value", kKey, "w", false},
      {"missing key", kKey + "\\Gone", "v", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int closesBefore = reg.CloseCalls();
    const std::size_t opensBefore = reg.Opens().size();
    RegValue v = Get(c.value, c.key);
    EXPECT_EQ(!std::holds_alternative<std::monostate>(v), c.read);
    ASSERT_EQ(reg.Opens().size(), opensBefore + 1);
    const auto& open = reg.Opens().back();
    EXPECT_EQ(open.root, platform::kHkeyCurrentUser);
    EXPECT_EQ(open.options, 0u);
    EXPECT_EQ(open.access, 0x3Fu);
    EXPECT_EQ(reg.CloseCalls(), closesBefore + 1);
    EXPECT_EQ(reg.OpenKeyCount(), 0);
  }
}

// A value too big to hold: the failure leaves the read, and the key with it.
TEST_F(ModuleRegistryTest, KeyIsClosedWhenAReadThrows) {
  struct HugeValues : fake::FakeRegistry {
    platform::RegStatus QueryData(platform::RegKey, const std::string&, std::uint32_t&,
                                  std::vector<std::uint8_t>&, std::uint32_t&) override {
      throw std::bad_alloc();
    }
  } huge;
  huge.SetValue(kKey, "Url1", platform::kRegSz, {'a', 0});
  EXPECT_THROW(GetRegValue(huge, kUserRoot, kKey, "Url1"), std::bad_alloc);
  EXPECT_EQ(huge.OpenKeyCount(), 0);
}

TEST_F(ModuleRegistryTest, StringThatChangesBetweenTheTwoQueries) {
  const auto text = [](const std::string& t) {
    Bytes bytes(t.begin(), t.end());
    bytes.push_back(0);
    return bytes;
  };
  struct Case {
    const char* name;
    std::uint32_t type;
    Bytes after;
    RegValue expected;
  } cases[] = {
      {"grows", platform::kRegSz, text("C:\\Longer\\Path\\"), std::monostate{}},
      {"shrinks", platform::kRegSz, text("C:\\"), std::string("C:\\\0", 4)},
      {"turns into a number", platform::kRegDword, {7, 0, 0, 0}, std::monostate{}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    reg.SetString(kKey, "Cache", "C:\\Cache\\");
    reg.SetBetweenQueriesHook([&] { reg.SetValue(kKey, "Cache", c.type, c.after); });
    EXPECT_EQ(Describe(Get("Cache")), Describe(c.expected));
    EXPECT_EQ(reg.OpenKeyCount(), 0);
  }
}

TEST_F(ModuleRegistryTest, KeyLackingOneRightOfTheMaskCanBeNeitherReadNorDeleted) {
  reg.SetString(kKey, "Url1", "http://a/");
  reg.SetGrantedAccess(kKey, 0x3F & ~0x20u);  // all but KEY_CREATE_LINK
  EXPECT_TRUE(std::holds_alternative<std::monostate>(Get("Url1")));
  DeleteRegValue(reg, kUserRoot, kKey, "Url1");
  EXPECT_TRUE(reg.HasValue(kKey, "Url1"));
  EXPECT_EQ(reg.OpenKeyCount(), 0);
}

TEST_F(ModuleRegistryTest, DeleteTwiceAndDeleteUnderAMissingKey) {
  reg.SetString(kKey, "Url1", "http://a/");
  reg.SetString(kKey, "Url2", "http://b/");
  DeleteRegValue(reg, kUserRoot, kKey, "Url1");
  DeleteRegValue(reg, kUserRoot, kKey, "Url1");
  DeleteRegValue(reg, kUserRoot, kKey + "\\Gone", "Url2");
  EXPECT_FALSE(reg.HasValue(kKey, "Url1"));
  EXPECT_TRUE(reg.HasValue(kKey, "Url2"));
  EXPECT_EQ(reg.OpenKeyCount(), 0);
  for (const auto& open : reg.Opens()) EXPECT_EQ(open.access, 0x3Fu);
}

TEST_F(ModuleRegistryTest, QueryStatus) {
  reg.SetValue(kKey, "bin", platform::kRegBinary, {1});
  reg.SetString(kKey, "s", "x");
  struct Case {
    const char* name;
    platform::RegStatus status;
  } cases[] = {{"s", 0}, {"bin", -1}, {"missing", platform::kRegFileNotFound}};
  platform::RegKey key = 0;
  ASSERT_EQ(reg.Open(kUserRoot, kKey, 0, kKeyAccess, key), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegValue v;
    EXPECT_EQ(QueryRegValue(reg, key, c.name, v), c.status);
  }
  RegValue v;
  EXPECT_EQ(QueryRegValue(reg, 0, "s", v), platform::kRegInvalidHandle);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(v));
  reg.Close(key);
}

TEST_F(ModuleRegistryTest, TypedListEndsAtNothingOrEmptyText) {
  struct Case {
    RegValue value;
    bool ends;
  } cases[] = {
      {std::monostate{}, true},
      {std::string(), true},
      {std::string(1, '\0'), false},
      {std::string("http://a/\0", 10), false},
      {std::int32_t{0}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Describe(c.value));
    EXPECT_EQ(EndsTypedList(c.value), c.ends);
  }
}

}  // namespace
}  // namespace veltrane
