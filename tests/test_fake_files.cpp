#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_files.h"

namespace veltrane {
namespace {

using platform::WipeTarget;
using Names = std::vector<std::string>;

Names Listed(fake::FakeFileSystem& fs, const std::string& folder, std::uint32_t filter) {
  Names names;
  auto listing = fs.List(folder, filter);
  platform::DirEntry entry;
  while (listing->Next(entry)) names.push_back(entry.name + ":" + std::to_string(entry.attributes));
  return names;
}

// The walk and the scan lean on this filter: hidden, system and folder bits
// must each be in the filter; read-only and archive play no part.
TEST(FakeFiles, ListingFilter) {
  fake::FakeFileSystem fs;
  fs.AddFile("C:\\F\\plain", "", 0x20);
  fs.AddFile("C:\\F\\ro", "", 0x21);
  fs.AddFile("C:\\F\\hid", "", 0x22);
  fs.AddFile("C:\\F\\sys", "", 0x24);
  fs.AddFolder("C:\\F\\dir\\");
  fs.AddFolder("C:\\F\\sdir\\", 0x14);
  fs.AddFolder("C:\\F\\hdir\\", 0x12);
  fs.AddFolderLink("C:\\F\\link", "C:\\F\\");
  struct Case {
    std::uint32_t filter;
    Names expected;
  } cases[] = {
      {0, {"plain:32", "ro:33"}},
      {20, {".:16", "..:16", "plain:32", "ro:33", "sys:36", "dir:16", "sdir:20", "link:1040"}},
      {16, {".:16", "..:16", "plain:32", "ro:33", "dir:16", "link:1040"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "filter " << c.filter);
    EXPECT_EQ(Listed(fs, "C:\\F\\", c.filter), c.expected) << fs.ToString();
  }
  EXPECT_EQ(Listed(fs, "c:\\f\\LINK\\", 0), (Names{"plain:32", "ro:33"})) << "through the link";
  EXPECT_TRUE(Listed(fs, "C:\\F", 20).empty()) << "a folder path ends in a separator";
  EXPECT_TRUE(Listed(fs, "C:\\F\\plain\\", 20).empty());
}

TEST(FakeFiles, WhatMayBeDeletedOrOpenedForAWipe) {
  struct Case {
    const char* name;
    void (*setUp)(fake::FakeFileSystem&);
    bool opens;
  } cases[] = {
      {"plain", [](fake::FakeFileSystem& f) { f.AddFile("C:\\a", "x"); }, true},
      {"read-only", [](fake::FakeFileSystem& f) { f.AddFile("C:\\a", "x", 0x21); }, false},
      {"locked", [](fake::FakeFileSystem& f) { f.AddFile("C:\\a", "x"); f.SetLocked("C:\\a", true); }, false},
      {"missing", [](fake::FakeFileSystem&) {}, false},
      {"folder", [](fake::FakeFileSystem& f) { f.AddFolder("C:\\a\\"); }, false},
      {"dangling link", [](fake::FakeFileSystem& f) { f.AddLink("C:\\a", "C:\\gone"); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeFileSystem a, b;
    c.setUp(a);
    c.setUp(b);
    EXPECT_EQ(a.OpenToErase("C:\\A") != nullptr, c.opens);
    EXPECT_EQ(b.Delete("c:\\a"), c.opens);
    EXPECT_EQ(b.Exists("C:\\a"), c.name != std::string("plain") && c.name != std::string("missing"));
  }
}

TEST(FakeFiles, WipeTargetIsSharedWithNobodyAndKnowsItsKind) {
  fake::FakeFileSystem fs;
  fs.AddFile("C:\\a", "abc");
  fs.AddHardLink("C:\\b", "C:\\a");
  fs.AddLink("C:\\l", "C:\\a");
  {
    auto link = fs.OpenToErase("C:\\l");
    ASSERT_TRUE(link);
    EXPECT_EQ(link->kind(), WipeTarget::Kind::Link);
    EXPECT_EQ(link->Length(), 3u) << "the target's length";
    EXPECT_FALSE(link->Rewind());
    EXPECT_FALSE(link->Write("00000", 5)) << "never written through";
    EXPECT_FALSE(link->Flush());
  }
  EXPECT_FALSE(fs.Exists("C:\\l")) << "the link goes with the target";
  {
    auto target = fs.OpenToErase("C:\\b");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->kind(), WipeTarget::Kind::HardLinked);
    EXPECT_EQ(fs.OpenToErase("C:\\b"), nullptr);
    EXPECT_FALSE(fs.Delete("C:\\b"));
    EXPECT_EQ(fs.OpenRead("C:\\b"), nullptr);
    EXPECT_TRUE(fs.Exists("C:\\b")) << "marked, but there until closed";
    EXPECT_TRUE(target->Close());
  }
  EXPECT_FALSE(fs.Exists("C:\\b"));
  auto target = fs.OpenToErase("C:\\a");
  EXPECT_EQ(target->kind(), WipeTarget::Kind::Plain);
  EXPECT_EQ(target->Length(), 3u);
  EXPECT_TRUE(target->Write("00000", 5));
  EXPECT_EQ(fs.Content("C:\\a"), "00000") << "written in place, extended past its end";
  EXPECT_TRUE(target->Close());
  EXPECT_FALSE(fs.Exists("C:\\a"));
  EXPECT_FALSE(target->Write("0", 1));
  EXPECT_FALSE(target->Close());
  EXPECT_EQ(fs.OpenHandles(), 0);
}

// The disk fills at the limit: a write ending there fits, one byte more does not.
TEST(FakeFiles, WriteLimitRefusesOnlyAWritePastIt) {
  fake::FakeFileSystem fs;
  fs.AddFile("C:\\a", "abc");
  fs.SetWriteLimit("C:\\a", 5);
  auto target = fs.OpenToErase("C:\\a");
  ASSERT_TRUE(target);
  EXPECT_TRUE(target->Write("00000", 5));
  EXPECT_FALSE(target->Write("0", 1));
}

// The scope of a removal: only the folders a listing saw, as it saw them,
// below a root that may itself be reached through a link.
TEST(FakeFiles, EraseScopeKeepsToTheListedFolders) {
  fake::FakeFileSystem fs;
  for (const char* file : {"C:\\R\\a", "C:\\R\\T\\b", "C:\\R\\U\\c", "C:\\Out\\b", "C:\\Out\\c"}) fs.AddFile(file, "x");
  fs.AddFolderLink("C:\\Via", "C:\\R\\");
  platform::WalkedFolders walked;
  for (const char* folder : {"C:\\Via\\", "C:\\Via\\T\\", "C:\\Via\\U\\"})
    walked[folder] = *fs.List(folder, 20)->Folder();
  fs.Rename("C:\\R\\T", "C:\\Away");
  fs.AddFolderLink("C:\\R\\T", "C:\\Out\\");
  fs.Rename("C:\\R\\U", "C:\\Gone");
  fs.AddFile("C:\\R\\U\\c", "new");
  auto scope = fs.Within("C:\\Via\\", walked);
  EXPECT_FALSE(scope->Delete("C:\\Via\\T\\b")) << "a link on the way";
  EXPECT_FALSE(scope->Delete("C:\\Via\\U\\c")) << "another folder under the name";
  EXPECT_EQ(scope->OpenToErase("C:\\Via\\U\\c"), nullptr);
  EXPECT_FALSE(scope->Delete("C:\\Out\\b")) << "outside the root";
  EXPECT_TRUE(scope->Delete("C:\\Via\\a"));
  EXPECT_TRUE(fs.Exists("C:\\Out\\b") && fs.Exists("C:\\Away\\b") && fs.Exists("C:\\R\\U\\c")) << fs.ToString();
  EXPECT_FALSE(fs.Exists("C:\\R\\a"));
}

// Another program holding a file and sharing everything: the deletion is
// granted, and the name goes when that program lets go.
TEST(FakeFiles, DeletionOfAFileHeldBySharingHoldersWaitsForThem) {
  fake::FakeFileSystem fs;
  fs.AddFile("C:\\a", "x");
  fs.SetHeldSharing("C:\\a", true);
  EXPECT_TRUE(fs.Delete("C:\\a"));
  EXPECT_TRUE(fs.Exists("C:\\a"));
  fs.SetHeldSharing("C:\\a", false);
  EXPECT_FALSE(fs.Exists("C:\\a"));
}

}  // namespace
}  // namespace veltrane
