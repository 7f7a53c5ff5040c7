#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/fake/fake_registry.h"

namespace veltrane {
namespace {

using platform::RegKey;

// The registry module leans on these rules of the real registry.
TEST(FakeRegistry, OpenFollowsTheRealRules) {
  fake::FakeRegistry reg;
  reg.SetString("Software\\A", "v", "x");
  struct Case {
    const char* name;
    platform::RegRoot root;
    const char* path;
    platform::RegStatus status;
  } cases[] = {
      {"exact", platform::kHkeyCurrentUser, "Software\\A", 0},
      {"other case", platform::kHkeyCurrentUser, "SOFTWARE\\a", 0},
      {"missing", platform::kHkeyCurrentUser, "Software\\B", platform::kRegFileNotFound},
      {"other hive", 0x80000002u, "Software\\A", platform::kRegFileNotFound},
      {"no root", 0x1234u, "Software\\A", platform::kRegInvalidHandle},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegKey key = 77;
    EXPECT_EQ(reg.Open(c.root, c.path, 0, 0x3F, key), c.status);
    EXPECT_EQ(key != 0, c.status == 0);
    if (key) {
      EXPECT_EQ(reg.Close(key), 0);
    }
  }
  EXPECT_EQ(reg.Close(0), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.OpenKeyCount(), 0);
}

TEST(FakeRegistry, DataThatDoesNotFitReportsTheSizeNeeded) {
  fake::FakeRegistry reg;
  reg.SetString("K", "v", "abcd");
  RegKey key = 0;
  ASSERT_EQ(reg.Open(platform::kHkeyCurrentUser, "K", 0, 0x3F, key), 0);
  std::uint32_t type = 0, size = 0;
  std::vector<std::uint8_t> small(3);
  EXPECT_EQ(reg.QueryData(key, "V", type, small, size), platform::kRegMoreData);
  EXPECT_EQ(size, 5u);
  std::vector<std::uint8_t> enough(8, 0xEE);
  EXPECT_EQ(reg.QueryData(key, "v", type, enough, size), 0);
  EXPECT_EQ(type, platform::kRegSz);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(enough[4], 0);
  reg.Close(key);
  EXPECT_EQ(reg.QueryInfo(key, "v", type, size), platform::kRegInvalidHandle);
}

}  // namespace
}  // namespace veltrane
