#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fake/fake_event_pump.h"
#include "platform/fake/fake_files.h"
#include "scan/folder_walk.h"

namespace veltrane {
namespace {

using Paths = std::vector<std::string>;

Paths Entries(const TraceList& list) {
  Paths out;
  for (std::size_t i = 1; i <= list.Count(); ++i) out.push_back(list[i]);
  return out;
}

class FolderWalkTest : public ::testing::Test {
 protected:
  fake::FakeFileSystem fs;
  fake::CountingPump pump;
  ProgramState state;
  FolderWalk walk{fs, pump, state};
};

TEST_F(FolderWalkTest, ListFilesTakesPlainFilesInListingOrder) {
  fs.AddFile("C:\\F\\a", "1");
  fs.AddFile("C:\\F\\b", "2");
  fs.AddFolder("C:\\F\\s\\");
  walk.ListFiles("C:\\F\\", 0);
  EXPECT_EQ(Entries(state.fileList), (Paths{"C:\\F\\a", "C:\\F\\b"})) << fs.ToString();
  EXPECT_EQ(pump.Count(), 2);

  fs.SetOrder("C:\\F\\", {"b", "s", "a"});
  walk.ListFiles("C:\\F\\", 0);
  EXPECT_EQ(Entries(state.fileList), (Paths{"C:\\F\\b", "C:\\F\\a"}));
}

TEST_F(FolderWalkTest, ListFilesAppendFlag) {
  fs.AddFile("C:\\F\\a", "");
  fs.AddFile("C:\\G\\c", "");
  walk.ListFiles("C:\\F\\", 0);
  walk.ListFiles("C:\\G\\", 1);
  EXPECT_EQ(Entries(state.fileList), (Paths{"C:\\F\\a", "C:\\G\\c"}));
  walk.ListFiles("C:\\G\\", 0);
  EXPECT_EQ(Entries(state.fileList), (Paths{"C:\\G\\c"}));
}

TEST_F(FolderWalkTest, ListFilesOnEmptyOrMissingFolderLetsNoEventsRun) {
  fs.AddFolder("C:\\Empty\\");
  state.fileList.Append("stale");
  walk.ListFiles("C:\\Empty\\", 0);
  EXPECT_EQ(state.fileList.Count(), 0u);
  walk.ListFiles("C:\\Missing\\", 0);
  EXPECT_EQ(state.fileList.Count(), 0u);
  EXPECT_EQ(pump.Count(), 0);
}

TEST_F(FolderWalkTest, ListFilesByAttributeWord) {
  struct Case {
    std::uint32_t attrs;
    bool listed;
  } cases[] = {
      {0x20, true},    // archive
      {0x21, true},    // read-only
      {0x00, true},    // no bit at all
      {0x80, true},    // normal
      {0x22, false},   // hidden
      {0x24, false},   // system
      {0x26, false},   // hidden and system
      {0x410, false},  // link to a folder
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "attributes " << c.attrs);
    fake::FakeFileSystem files;
    files.AddFolder("C:\\F\\");
    if (c.attrs & platform::kAttrDirectory)
      files.AddFolderLink("C:\\F\\x", "C:\\F\\");
    else
      files.AddFile("C:\\F\\x", "", c.attrs);
    ProgramState s;
    FolderWalk w{files, pump, s};
    w.ListFiles("C:\\F\\", 0);
    EXPECT_EQ(s.fileList.Count(), c.listed ? 1u : 0u) << files.ToString();
  }
}

TEST_F(FolderWalkTest, ListFilesTakesAFileLinkAsAFile) {
  fs.AddFile("C:\\Elsewhere\\t", "keep");
  fs.AddLink("C:\\F\\l", "C:\\Elsewhere\\t");
  walk.ListFiles("C:\\F\\", 0);
  EXPECT_EQ(Entries(state.fileList), (Paths{"C:\\F\\l"}));
}

// The files of a folder the tree walk listed come from that listing: the same
// paths in the same order, with events run after each, as a listing of its
// own would give; once, after which the folder is listed afresh.
TEST_F(FolderWalkTest, FilesOfAWalkedFolderComeFromTheTreeListingOnce) {
  auto build = [](fake::FakeFileSystem& files) {
    files.AddFile("C:\\R\\plain", "");
    files.AddFile("C:\\R\\ro", "", platform::kAttrArchive | platform::kAttrReadOnly);
    files.AddFile("C:\\R\\hid", "", platform::kAttrArchive | platform::kAttrHidden);
    files.AddFile("C:\\R\\sys", "", platform::kAttrArchive | platform::kAttrSystem);
    files.AddFile("C:\\R\\none", "", 0);
    files.AddFolder("C:\\R\\S\\");
    files.AddFolder("C:\\R\\T\\", platform::kAttrDirectory | platform::kAttrSystem);
    files.AddFile("C:\\Elsewhere\\t", "");
    files.AddLink("C:\\R\\S\\link", "C:\\Elsewhere\\t");
    files.AddFolderLink("C:\\R\\S\\flink", "C:\\Elsewhere\\");
    files.AddFile("C:\\R\\S\\s1", "");
    files.SetOrder("C:\\R\\", {"sys", "none", "S", "plain", "hid", "T", "ro"});
  };
  const Paths folders = {"C:\\R\\", "C:\\R\\S\\", "C:\\R\\T\\"};
  fake::FakeFileSystem fresh;
  build(fresh);
  fake::CountingPump freshPump;
  ProgramState expected;
  FolderWalk freshWalk{fresh, freshPump, expected};
  for (const std::string& folder : folders) freshWalk.ListFiles(folder, 1);
  ASSERT_EQ(Entries(expected.fileList),
            (Paths{"C:\\R\\none", "C:\\R\\plain", "C:\\R\\ro", "C:\\R\\S\\link", "C:\\R\\S\\s1"}));

  build(fs);
  walk.ListFolderTree("C:\\R\\");
  ASSERT_EQ(Entries(state.folderList), folders);
  const std::size_t treeListings = fs.ListCalls().size();
  pump.Reset();
  for (const std::string& folder : folders) walk.ListFiles(folder, 1);
  EXPECT_EQ(Entries(state.fileList), Entries(expected.fileList)) << fs.ToString();
  EXPECT_EQ(pump.Count(), freshPump.Count());
  EXPECT_EQ(fs.ListCalls().size(), treeListings);

  fs.AddFile("C:\\R\\later", "");
  walk.ListFiles("C:\\R\\", 0);
  EXPECT_EQ(Entries(state.fileList), (Paths{"C:\\R\\none", "C:\\R\\plain", "C:\\R\\ro", "C:\\R\\later"}));
  ASSERT_EQ(fs.ListCalls().size(), treeListings + 1);
  EXPECT_EQ(fs.ListCalls().back().filter, 0u);
}

// A walk nested in the events of ListFiles records afresh; the running
// ListFiles still hands out the whole of what it started with.
TEST_F(FolderWalkTest, TreeWalkNestedInListFilesLeavesItWhole) {
  fs.AddFile("C:\\R\\a", "");
  fs.AddFile("C:\\R\\b", "");
  fs.AddFile("C:\\R\\c", "");
  walk.ListFolderTree("C:\\R\\");
  for (int k = 1; k <= 3; ++k) {
    SCOPED_TRACE(testing::Message() << "nested walk at event " << k);
    pump.Reset();
    pump.At(k, [&] { walk.ListFolderTree("C:\\R\\"); });
    walk.ListFiles("C:\\R\\", 0);
    EXPECT_EQ(Entries(state.fileList), (Paths{"C:\\R\\a", "C:\\R\\b", "C:\\R\\c"}));
  }
}

TEST_F(FolderWalkTest, TreeIsBreadthFirstInListingOrder) {
  fs.AddFolder("C:\\R\\A\\A1\\");
  fs.AddFolder("C:\\R\\B\\B1\\");
  fs.AddFolder("C:\\R\\B\\B2\\");
  fs.AddFile("C:\\R\\f", "");
  fs.AddFile("C:\\R\\B\\g", "", platform::kAttrSystem | platform::kAttrArchive);
  walk.ListFolderTree("C:\\R\\");
  EXPECT_EQ(Entries(state.folderList),
            (Paths{"C:\\R\\", "C:\\R\\A\\", "C:\\R\\B\\", "C:\\R\\A\\A1\\", "C:\\R\\B\\B1\\",
                   "C:\\R\\B\\B2\\"}))
      << fs.ToString();

  fs.SetOrder("C:\\R\\", {"B", "A"});
  fs.SetOrder("C:\\R\\B\\", {"B2", "B1"});
  walk.ListFolderTree("C:\\R\\");
  EXPECT_EQ(Entries(state.folderList),
            (Paths{"C:\\R\\", "C:\\R\\B\\", "C:\\R\\A\\", "C:\\R\\B\\B2\\", "C:\\R\\B\\B1\\",
                   "C:\\R\\A\\A1\\"}));
}

TEST_F(FolderWalkTest, OnlyFoldersOfWordSixteenOrTwentyAreWalked) {
  struct Case {
    std::uint32_t attrs;
    bool walked;
  } cases[] = {
      {0x10, true},   {0x14, true},  // folder; folder and system
      {0x11, false},                 // read-only
      {0x30, false},                 // archive
      {0x34, false},                 // system and archive
      {0x15, false},                 // read-only and system
      {0x12, false},                 // hidden: not even listed
      {0x2010, false},               // not content indexed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "attributes " << c.attrs);
    fake::FakeFileSystem files;
    files.AddFolder("C:\\R\\S\\T\\");
    files.AddFolder("C:\\R\\S\\", c.attrs);
    ProgramState s;
    FolderWalk w{files, pump, s};
    w.ListFolderTree("C:\\R\\");
    Paths expected = c.walked ? Paths{"C:\\R\\", "C:\\R\\S\\", "C:\\R\\S\\T\\"} : Paths{"C:\\R\\"};
    EXPECT_EQ(Entries(s.folderList), expected) << files.ToString();
  }
}

TEST_F(FolderWalkTest, FolderLinksNeverLeadOutOfTheTreeOrRoundACycle) {
  fs.AddFolder("C:\\R\\A\\");
  fs.AddFolder("C:\\Outside\\Deep\\");
  fs.AddFolderLink("C:\\R\\A\\back", "C:\\R\\");
  fs.AddFolderLink("C:\\R\\out", "C:\\Outside\\");
  walk.ListFolderTree("C:\\R\\");
  EXPECT_EQ(Entries(state.folderList), (Paths{"C:\\R\\", "C:\\R\\A\\"})) << fs.ToString();
  for (const auto& call : fs.ListCalls()) {
    EXPECT_EQ(call.folder.find("back"), std::string::npos);
    EXPECT_EQ(call.folder.find("out"), std::string::npos);
  }
}

TEST_F(FolderWalkTest, RootAloneAfterOneSweep) {
  struct Case {
    const char* name;
    bool exists;
    int events;  // ".", ".." and the file of a listable root, then the one sweep
  } cases[] = {{"no sub-folders", true, 4}, {"root cannot be listed", false, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeFileSystem files;
    if (c.exists) files.AddFile("C:\\R\\only", "");
    fake::CountingPump pump;
    ProgramState s;
    FolderWalk w{files, pump, s};
    s.folderList.Append("stale");
    w.ListFolderTree("C:\\R\\");
    EXPECT_EQ(Entries(s.folderList), (Paths{"C:\\R\\"}));
    EXPECT_EQ(pump.Count(), c.events);
  }
}

// Events run after every listed entry ("." and ".." too) and once after each
// sweep; a tree three levels deep takes four sweeps.
TEST_F(FolderWalkTest, EventsAfterEachEntryAndEachSweep) {
  fs.AddFolder("C:\\R\\A\\B\\C\\");
  std::string log;
  fs.SetOnList([&](const std::string& folder) {
    std::string name = folder.substr(0, folder.size() - 1);
    log += "[" + name.substr(name.rfind('\\') + 1) + "]";
  });
  pump.OnEach([&](int) { log += "."; });
  walk.ListFolderTree("C:\\R\\");
  //          R: . .. A   A: . .. B + sweep 1   B + sweep 2   C: . .. + sweeps 3, 4
  EXPECT_EQ(log, "[R]...[A]....[B]....[C]....");
  EXPECT_EQ(Entries(state.folderList),
            (Paths{"C:\\R\\", "C:\\R\\A\\", "C:\\R\\A\\B\\", "C:\\R\\A\\B\\C\\"}));
}

TEST_F(FolderWalkTest, FolderThatVanishesAfterBeingListedIsKeptAndAddsNothing) {
  fs.AddFolder("C:\\R\\A\\");
  fs.AddFolder("C:\\R\\B\\B1\\");
  fs.SetOnList([&](const std::string& folder) {
    if (folder == "C:\\R\\A\\") fs.Remove("C:\\R\\B\\");
  });
  walk.ListFolderTree("C:\\R\\");
  EXPECT_EQ(Entries(state.folderList), (Paths{"C:\\R\\", "C:\\R\\A\\", "C:\\R\\B\\"}));
}

TEST_F(FolderWalkTest, NamesBeginningWithMarkersAreWalkedWhole) {
  fs.AddFolder("C:\\R\\old\\x1\\");
  fs.AddFolder("C:\\R\\xo\\");
  walk.ListFolderTree("C:\\R\\");
  EXPECT_EQ(Entries(state.folderList),
            (Paths{"C:\\R\\", "C:\\R\\old\\", "C:\\R\\xo\\", "C:\\R\\old\\x1\\"}));
}

// A second scan clicked while events run rebuilds both lists under the
// running walk. Whatever point it lands on, the outer walk ends and still
// gives its own tree.
TEST_F(FolderWalkTest, NestedWalkAtAnyEventPointLeavesTheOuterWalkSound) {
  auto build = [](fake::FakeFileSystem& files) {
    files.AddFolder("C:\\R\\A\\A1\\A2\\");
    files.AddFolder("C:\\R\\B\\");
    files.AddFile("C:\\R\\A\\f", "");
    files.AddFolder("C:\\Q\\Q1\\");
  };
  fake::FakeFileSystem plain;
  build(plain);
  fake::CountingPump counter;
  ProgramState s0;
  FolderWalk{plain, counter, s0}.ListFolderTree("C:\\R\\");
  const int points = counter.Count();
  ASSERT_GT(points, 5);

  for (int k = 1; k <= points; ++k) {
    for (const char* nestedRoot : {"C:\\Q\\", "C:\\R\\A\\A1\\A2\\", "C:\\R\\"}) {
      SCOPED_TRACE(testing::Message() << "nested walk of " << nestedRoot << " at event " << k);
      fake::FakeFileSystem files;
      build(files);
      fake::CountingPump pump;
      ProgramState s;
      FolderWalk outer{files, pump, s};
      FolderWalk nested{files, pump, s};
      pump.At(k, [&] {
        nested.ListFolderTree(nestedRoot);
        nested.ListFiles("C:\\R\\A\\", 0);
      });
      outer.ListFolderTree("C:\\R\\");
      EXPECT_EQ(Entries(s.folderList), Entries(s0.folderList));
      EXPECT_LT(pump.Count(), 4 * points);
    }
  }
}

TEST_F(FolderWalkTest, NestedListFilesDuringListFiles) {
  fs.AddFile("C:\\F\\a", "");
  fs.AddFile("C:\\F\\b", "");
  fs.AddFile("C:\\G\\c", "");
  pump.At(1, [&] { walk.ListFiles("C:\\G\\", 0); });
  walk.ListFiles("C:\\F\\", 0);
  EXPECT_EQ(Entries(state.fileList), (Paths{"C:\\G\\c", "C:\\F\\b"}));
}

}  // namespace
}  // namespace veltrane
