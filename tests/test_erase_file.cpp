#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "erase/erase_file.h"
#include "platform/fake/fake_event_pump.h"
#include "platform/fake/fake_files.h"

namespace veltrane {
namespace {

using Op = fake::FakeFileSystem::WipeOp;
using Sizes = std::vector<std::uint64_t>;

const std::string kFile = "C:\\Cache\\f.txt";

class EraseFileTest : public ::testing::Test {
 protected:
  void Erase(std::optional<int> passes, const std::string& path = kFile) {
    EraseFile(fs, pump, path, passes);
  }
  fake::FakeFileSystem fs;
  fake::CountingPump pump;
};

// What the writes between two points where events run were given, one entry
// per chunk: a chunk may reach the file in more than one write. The point at
// the end of a pass follows no write and gives no entry.
class ChunkLog {
 public:
  ChunkLog(fake::FakeFileSystem& files, fake::CountingPump& pump, const std::string& path) {
    pump.OnEach([this, &files, path](int) {
      std::uint64_t bytes = 0;
      const auto& ops = files.WipeOps(path);
      for (; seen_ < ops.size(); ++seen_)
        if (ops[seen_].kind == Op::Kind::Write) bytes += ops[seen_].length;
      if (bytes > 0) sizes_.push_back(bytes);
    });
  }
  const Sizes& sizes() const { return sizes_; }

 private:
  Sizes sizes_;
  std::size_t seen_ = 0;
};

// Each pass writes L div 10000 + 1 chunks of 10000, then the overshoot past L.
TEST_F(EraseFileTest, ChunksOfOnePass) {
  struct Case {
    std::size_t length;
    Sizes chunks;
    std::uint64_t total;
  } cases[] = {
      {0, {10000, 10000}, 20000},
      {1, {10000, 9999}, 19999},
      {9999, {10000, 1}, 10001},
      {10000, {10000, 10000, 10000}, 30000},
      {25000, {10000, 10000, 10000, 5000}, 35000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "length " << c.length);
    fake::FakeFileSystem files;
    fake::CountingPump pump;
    files.AddFile(kFile, std::string(c.length, 'k'));
    ChunkLog chunks(files, pump, kFile);
    EraseFile(files, pump, kFile, 1);

    const auto& ops = files.WipeOps(kFile);
    ASSERT_FALSE(ops.empty());
    EXPECT_EQ(ops.front().kind, Op::Kind::Rewind);
    EXPECT_EQ(ops.back().kind, Op::Kind::Flush);
    std::uint64_t offset = 0;
    for (const Op& op : ops) {
      if (op.kind != Op::Kind::Write) continue;
      EXPECT_EQ(op.offset, offset) << "written in place, one chunk after the other";
      EXPECT_TRUE(op.zeros);
      offset += op.length;
    }
    EXPECT_EQ(chunks.sizes(), c.chunks);
    EXPECT_EQ(offset, c.total);
    EXPECT_EQ(pump.Count(), static_cast<int>(c.chunks.size()) + 1) << "after each chunk and the pass";
    EXPECT_FALSE(files.Exists(kFile)) << files.ToString();
  }
}

TEST_F(EraseFileTest, EveryPassOverwritesTheSameFileThenItIsDeleted) {
  for (int passes : {1, 3, 7}) {
    SCOPED_TRACE(testing::Message() << passes << " passes");
    fake::FakeFileSystem files;
    fake::CountingPump pump;
    files.AddFile(kFile, std::string(12345, 's'));
    std::vector<int> fileExistedAtEvent;
    pump.OnEach([&](int) { fileExistedAtEvent.push_back(files.Exists(kFile)); });
    EraseFile(files, pump, kFile, passes);

    int rewinds = 0, flushes = 0;
    for (const Op& op : files.WipeOps(kFile)) {
      rewinds += op.kind == Op::Kind::Rewind;
      flushes += op.kind == Op::Kind::Flush;
    }
    EXPECT_EQ(files.WipeOpens(kFile), 1);
    EXPECT_EQ(rewinds, passes);
    EXPECT_EQ(flushes, passes);
    // 12345 bytes: two full chunks and a tail per pass, then the pass itself.
    EXPECT_EQ(pump.Count(), passes * 4);
    EXPECT_EQ(fileExistedAtEvent, std::vector<int>(passes * 4, 1)) << "deleted only at the end";
    EXPECT_FALSE(files.Exists(kFile));
    EXPECT_EQ(files.OpenHandles(), 0);
  }
}

TEST_F(EraseFileTest, WithoutPassesDeletesOnceWritesNothingLetsNoEventsRun) {
  for (std::optional<int> passes : {std::optional<int>(), std::optional<int>(0)}) {
    SCOPED_TRACE(passes ? "0 passes" : "no value yet");
    fs.AddFile(kFile, "content");
    Erase(passes);
    EXPECT_FALSE(fs.Exists(kFile));
    EXPECT_TRUE(fs.WipeOps(kFile).empty());
    EXPECT_EQ(fs.WipeOpens(kFile), 0);
    EXPECT_EQ(pump.Count(), 0);
  }
}

// With or without passes, a file that cannot be deleted stays exactly as it
// was, and a missing one is not created.
TEST_F(EraseFileTest, FilesThatCannotGoStayExactlyAsTheyWere) {
  struct Case {
    const char* name;
    void (*setUp)(fake::FakeFileSystem&);
  } cases[] = {
      {"read-only", [](fake::FakeFileSystem& f) { f.AddFile(kFile, "keep", 0x21); }},
      {"locked", [](fake::FakeFileSystem& f) { f.AddFile(kFile, "keep"); f.SetLocked(kFile, true); }},
      {"missing", [](fake::FakeFileSystem& f) { f.AddFolder("C:\\Cache\\"); }},
      {"a folder", [](fake::FakeFileSystem& f) { f.AddFolder(kFile + "\\"); }},
  };
  for (const Case& c : cases) {
    for (std::optional<int> passes : {std::optional<int>(), std::optional<int>(1), std::optional<int>(7)}) {
      SCOPED_TRACE(testing::Message() << c.name << ", passes " << passes.value_or(-1));
      fake::FakeFileSystem files;
      fake::CountingPump pump;
      c.setUp(files);
      const std::string before = files.ToString();
      const std::string content = files.Content(kFile);
      EraseFile(files, pump, kFile, passes);
      EXPECT_EQ(files.ToString(), before);
      EXPECT_EQ(files.Content(kFile), content);
      EXPECT_TRUE(files.WipeOps(kFile).empty());
      EXPECT_EQ(pump.Count(), 0);
    }
  }
}

TEST_F(EraseFileTest, LinkIsDeletedAsALinkAndItsTargetIsUntouched) {
  const std::string target = "C:\\Users\\me\\letter.doc";
  for (std::optional<int> passes : {std::optional<int>(), std::optional<int>(3)}) {
    SCOPED_TRACE(testing::Message() << "passes " << passes.value_or(-1));
    fs.AddFile(target, "dear friend");
    fs.AddLink(kFile, target);
    Erase(passes);
    EXPECT_FALSE(fs.Exists(kFile));
    EXPECT_EQ(fs.Content(target), "dear friend") << fs.ToString();
    EXPECT_TRUE(fs.WipeOps(kFile).empty());
    EXPECT_EQ(pump.Count(), 0);
  }
}

TEST_F(EraseFileTest, HardLinkedFileLosesThisNameOnlyUnwritten) {
  const std::string other = "C:\\Users\\me\\kept.txt";
  fs.AddFile(other, "shared bytes");
  fs.AddHardLink(kFile, other);
  Erase(7);
  EXPECT_FALSE(fs.Exists(kFile));
  EXPECT_EQ(fs.Content(other), "shared bytes") << fs.ToString();
  EXPECT_TRUE(fs.WipeOps(kFile).empty());
}

// Lengths within 10000 of 2^31 and past 2^32: the count neither wraps nor
// stops short, every byte from offset 0 on is covered, and the pass ends.
TEST_F(EraseFileTest, HugeLengthsAreWrittenInFullAndEnd) {
  for (std::uint64_t length : {std::uint64_t{0x7FFFFFFF} - 5000, std::uint64_t{0x7FFFFFFF},
                               std::uint64_t{0x100000000} + 123}) {
    SCOPED_TRACE(testing::Message() << "length " << length);
    fake::FakeFileSystem files;
    fake::CountingPump pump;
    files.AddFile(kFile, "");
    files.SetVirtualLength(kFile, length);
    ChunkLog written(files, pump, kFile);
    EraseFile(files, pump, kFile, 1);

    const std::uint64_t chunks = length / 10000 + 1;
    std::uint64_t offset = 0;
    bool contiguous = true;
    for (const Op& op : files.WipeOps(kFile)) {
      if (op.kind != Op::Kind::Write) continue;
      contiguous = contiguous && op.offset == offset && op.zeros;
      offset += op.length;
    }
    EXPECT_TRUE(contiguous);
    EXPECT_EQ(written.sizes().size(), chunks + 1);
    EXPECT_EQ(offset, 20000 * chunks - length);
    EXPECT_GT(offset, length);
    EXPECT_FALSE(files.Exists(kFile));
  }
}

// A full disk: the file system refuses a write that would grow the file
// before it copies a byte of it. The file's own bytes are all overwritten all
// the same, the pass counts on past the failed writes, and the file goes.
TEST_F(EraseFileTest, FailedWritesAreSkippedAndTheFileStillGoes) {
  struct Case {
    const char* name;
    std::size_t length;
    std::uint64_t limit;
    Sizes chunks;
  } cases[] = {
      {"fills up in the overshoot", 25000, 25000 + 2000, {10000, 10000, 10000, 5000}},
      {"full, one byte", 1, 1, {10000, 9999}},
      {"full, under one chunk", 9999, 9999, {10000, 1}},
      {"full, past two chunks", 25000, 25000, {10000, 10000, 10000, 5000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeFileSystem files;
    fake::CountingPump pump;
    files.AddFile(kFile, std::string(c.length, 'k'));
    files.SetWriteLimit(kFile, c.limit);
    ChunkLog chunks(files, pump, kFile);
    std::string seenBeforeDeletion;
    pump.At(static_cast<int>(c.chunks.size()) + 1, [&] { seenBeforeDeletion = files.Content(kFile); });
    EraseFile(files, pump, kFile, 1);
    EXPECT_EQ(seenBeforeDeletion.substr(0, c.length).find_first_not_of('0'), std::string::npos)
        << "the first of the file's own bytes left unwritten";
    EXPECT_EQ(chunks.sizes(), c.chunks);
    int failed = 0;
    for (const Op& op : files.WipeOps(kFile)) failed += op.kind == Op::Kind::Write && !op.ok;
    EXPECT_GT(failed, 0);
    EXPECT_FALSE(files.Exists(kFile));
  }
}

// The program ends in the middle of a pass (a close of the main window while
// events run, a crash): the name goes with the file's last handle, never
// leaving a partly overwritten file behind it.
TEST_F(EraseFileTest, EndedMidWipeTheNameStillGoes) {
  struct Ended {};
  fs.AddFile(kFile, std::string(25000, 'k'));
  bool existedWhenEnded = false;
  pump.At(6, [&] {
    existedWhenEnded = fs.Exists(kFile);
    throw Ended{};
  });
  EXPECT_THROW(Erase(3), Ended);
  EXPECT_TRUE(existedWhenEnded);
  EXPECT_FALSE(fs.Exists(kFile)) << fs.ToString();
  EXPECT_EQ(fs.OpenHandles(), 0);
}

// A second removal clicked while a pass runs meets the file held open by
// this program's own wipe: it leaves it alone, and the running erase finishes.
TEST_F(EraseFileTest, NestedEraseOfTheSameFileWhileAPassRuns) {
  for (std::optional<int> nestedPasses : {std::optional<int>(0), std::optional<int>(3)}) {
    SCOPED_TRACE(testing::Message() << "nested passes " << *nestedPasses);
    fake::FakeFileSystem files;
    fake::CountingPump pump;
    files.AddFile(kFile, std::string(100, 'k'));
    pump.At(1, [&] { EraseFile(files, pump, kFile, nestedPasses); });
    EraseFile(files, pump, kFile, 3);
    EXPECT_EQ(files.WipeOpens(kFile), 1);
    EXPECT_EQ(pump.Count(), 3 * 3);
    EXPECT_FALSE(files.Exists(kFile));
  }
}

}  // namespace
}  // namespace veltrane
