// The same cases against the in-memory fakes and against the real Win32 layer
// under Wine: what passes on both proves the fakes faithful to what users get.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "contract_backends.h"
#include "erase/erase_file.h"
#include "platform/fake/fake_event_pump.h"
#include "registry/module_registry.h"
#include "scan/folder_walk.h"

namespace veltrane::contract {
namespace {

using platform::WipeTarget;
using Kind = WipeTarget::Kind;
using Listed = std::vector<std::pair<std::string, std::uint32_t>>;

struct BackendNames {
  template <typename B>
  static std::string GetName(int) {
    return B::kName;
  }
};

template <typename B>
class Contract : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    ASSERT_TRUE(b.Begin(std::string(info->name()) + "_" + B::kName)) << "set-up of the test folder or key";
  }
  void TearDown() override { b.End(); }

  std::string P(const std::string& rel) const { return b.root + rel; }

  // Listing order is the platform's own: compared as sorted lists.
  Listed List(const std::string& folder, std::uint32_t filter) {
    Listed out;
    auto listing = b.files().List(folder, filter);
    platform::DirEntry entry;
    while (listing->Next(entry)) out.emplace_back(entry.name, entry.attributes);
    std::sort(out.begin(), out.end());
    return out;
  }

  RegValue Get(const std::string& name) { return GetRegValue(b.registry(), kUserRoot, b.key, name); }

  B b;
};

using Backends = ::testing::Types<FakeBackend, Win32Backend, Win32HandleCheckBackend>;
TYPED_TEST_SUITE(Contract, Backends, BackendNames);

std::vector<std::uint8_t> Utf16(const std::string& ascii) {
  std::vector<std::uint8_t> out;
  for (char c : ascii) out.insert(out.end(), {std::uint8_t(c), 0});
  return out;
}

// ---- registry -------------------------------------------------------------

TYPED_TEST(Contract, RegistryValuesReadAsTheProgramSeesThem) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::uint32_t type;
    std::string text;  // for string types
    bool withNul;
    RegValue expected;
  };
  const Case cases[] = {
      {"abc", platform::kRegSz, "abc", true, "abc\0"s},
      {"bare", platform::kRegSz, "abc", false, "abc"s},
      {"empty", platform::kRegSz, "", true, "\0"s},
      {"nodata", platform::kRegSz, "", false, ""s},
      {"accent", platform::kRegSz, "Zo\xC3\xAB", true, "Zo\xC3\xAB\0"s},
      {"inner", platform::kRegSz, "a\0b"s, true, "a\0b\0"s},
      {"expand", platform::kRegExpandSz, "%TEMP%", true, std::monostate{}},
  };
  for (const Case& c : cases) ASSERT_TRUE(this->b.SetText(c.name, c.type, c.text, c.withNul)) << c.name;
  ASSERT_TRUE(this->b.SetBytes("seven", platform::kRegDword, {7, 0, 0, 0}));
  ASSERT_TRUE(this->b.SetBytes("minus", platform::kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}));
  ASSERT_TRUE(this->b.SetBytes("binary", platform::kRegBinary, {1, 2, 3}));
  ASSERT_TRUE(this->b.SetBytes("multi", platform::kRegMultiSz, Utf16(std::string("a\0b\0\0", 5))));

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(this->Get(c.name), c.expected);
  }
  EXPECT_EQ(this->Get("seven"), RegValue(std::int32_t(7)));
  EXPECT_EQ(this->Get("minus"), RegValue(std::int32_t(-1)));
  EXPECT_EQ(this->Get("binary"), RegValue());
  EXPECT_EQ(this->Get("multi"), RegValue());
  EXPECT_EQ(this->Get("missing"), RegValue());
  EXPECT_EQ(GetRegValue(this->b.registry(), kUserRoot, this->b.key + "\\NoSuchKey", "abc"), RegValue());
  EXPECT_EQ(this->b.OpenKeyCount(), 0) << "every key closed";
}

TYPED_TEST(Contract, RegistryDeleteRemovesOneValueAndToleratesARepeat) {
  ASSERT_TRUE(this->b.SetText("Url1", platform::kRegSz, "http://a/", true));
  ASSERT_TRUE(this->b.SetText("Url2", platform::kRegSz, "http://b/", true));

  DeleteRegValue(this->b.registry(), kUserRoot, this->b.key, "Url1");
  EXPECT_FALSE(this->b.HasValue("Url1"));
  EXPECT_TRUE(this->b.HasValue("Url2"));
  DeleteRegValue(this->b.registry(), kUserRoot, this->b.key, "Url1");
  DeleteRegValue(this->b.registry(), kUserRoot, this->b.key + "\\NoSuchKey", "Url2");
  EXPECT_TRUE(this->b.HasValue("Url2"));
  EXPECT_EQ(this->b.OpenKeyCount(), 0) << "every key closed";
}

TYPED_TEST(Contract, RegistryCallsOnKeyZeroFailWithoutEffect) {
  platform::Registry& r = this->b.registry();
  std::uint32_t type = 99, size = 99;
  std::vector<std::uint8_t> buffer(8, 0xAA);
  EXPECT_NE(r.QueryInfo(0, "x", type, size), platform::kRegOk);
  EXPECT_NE(r.QueryData(0, "x", type, buffer, size), platform::kRegOk);
  EXPECT_EQ(type, 99u);
  EXPECT_EQ(size, 99u);
  EXPECT_NE(r.DeleteValue(0, "x"), platform::kRegOk);
  EXPECT_NE(r.Close(0), platform::kRegOk);

  platform::RegKey key = 123;
  EXPECT_NE(r.Open(kUserRoot, this->b.key + "\\NoSuchKey", 0, kKeyAccess, key), platform::kRegOk);
  EXPECT_EQ(key, 0u);
}

// A key deleted by someone else while the program holds it open: every read
// through the handle fails with "key deleted", never reads as a value.
TYPED_TEST(Contract, RegistryKeyDeletedWhileOpenReadsAsDeleted) {
  ASSERT_TRUE(this->b.SetText("v", platform::kRegSz, "x", true));
  platform::Registry& reg = this->b.registry();
  platform::RegKey key = 0;
  ASSERT_EQ(reg.Open(kUserRoot, this->b.key, 0, kKeyAccess, key), platform::kRegOk);
  ASSERT_TRUE(this->b.RemoveKey());
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(reg.QueryInfo(key, "v", type, size), 1018);
  RegValue value;
  EXPECT_EQ(QueryRegValue(reg, key, "v", value), 1018);
  EXPECT_TRUE(std::holds_alternative<std::monostate>(value));
  reg.Close(key);
  EXPECT_EQ(this->b.OpenKeyCount(), 0);
}

TYPED_TEST(Contract, RegistryStringTooBigForTheBufferReportsItsSize) {
  ASSERT_TRUE(this->b.SetText("s", platform::kRegSz, "abcdef", true));
  platform::Registry& r = this->b.registry();
  platform::RegKey key = 0;
  ASSERT_EQ(r.Open(kUserRoot, this->b.key, 0, kKeyAccess, key), platform::kRegOk);
  std::uint32_t type = 0, size = 0;
  ASSERT_EQ(r.QueryInfo(key, "s", type, size), platform::kRegOk);
  EXPECT_EQ(type, platform::kRegSz);
  EXPECT_EQ(size, 7u);
  std::vector<std::uint8_t> small(3, 0xAA);
  EXPECT_EQ(r.QueryData(key, "s", type, small, size), platform::kRegMoreData);
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(small, std::vector<std::uint8_t>(3, 0xAA)) << "nothing copied";
  EXPECT_EQ(r.Close(key), platform::kRegOk);
  EXPECT_NE(r.Close(key), platform::kRegOk) << "a key closes once";
}

// ---- listing --------------------------------------------------------------

TYPED_TEST(Contract, ListingFiltersByHiddenSystemAndFolderBits) {
  struct Entry {
    const char* name;
    bool folder;
    std::uint32_t attrs;
  };
  const Entry entries[] = {
      {"archive.txt", false, 32}, {"readonly.txt", false, 33}, {"hidden.txt", false, 34},
      {"system.txt", false, 36},  {"hidsys.txt", false, 38},   {"d16", true, 16},
      {"d17", true, 17},          {"d18", true, 18},           {"d20", true, 20},
      {"d21", true, 21},          {"d48", true, 48},           {"d52", true, 52},
  };
  Listed files0, all20 = {{".", 16}, {"..", 16}};
  for (const Entry& e : entries) {
    if (!TypeParam::CanMake(e.attrs)) continue;
    ASSERT_TRUE(e.folder ? this->b.AddFolder(e.name, e.attrs) : this->b.AddFile(e.name, "x", e.attrs))
        << e.name;
    const std::uint32_t selecting = e.attrs & (platform::kAttrHidden | platform::kAttrSystem |
                                               platform::kAttrDirectory);
    if (selecting == 0) files0.emplace_back(e.name, e.attrs);
    if ((selecting & ~20u) == 0) all20.emplace_back(e.name, e.attrs);
  }
  std::sort(files0.begin(), files0.end());
  std::sort(all20.begin(), all20.end());

  EXPECT_EQ(this->List(this->b.root, 0), files0) << this->b.State();
  EXPECT_EQ(this->List(this->b.root, 20), all20) << this->b.State();
  for (const Entry& e : entries) {
    if (!TypeParam::CanMake(e.attrs)) continue;
    SCOPED_TRACE(e.name);
    EXPECT_EQ(this->b.files().Attributes(this->P(e.name)), e.attrs) << "the word the walk compares";
  }
}

TYPED_TEST(Contract, EmptyMissingAndVanishedFolders) {
  ASSERT_TRUE(this->b.AddFolder("empty"));
  ASSERT_TRUE(this->b.AddFolder("gone"));
  ASSERT_TRUE(this->b.AddFile("gone\\f.txt", "x"));
  ASSERT_TRUE(this->b.Remove("gone"));

  EXPECT_EQ(this->List(this->P("empty\\"), 0), Listed{});
  EXPECT_EQ(this->List(this->P("empty\\"), 20), (Listed{{".", 16}, {"..", 16}}));
  EXPECT_EQ(this->List(this->P("gone\\"), 20), Listed{});
  EXPECT_EQ(this->List(this->P("never\\"), 0), Listed{});
  EXPECT_EQ(this->b.files().Attributes(this->P("gone")), std::nullopt);
  EXPECT_EQ(this->b.files().Attributes(this->P("gone\\f.txt")), std::nullopt);
}

// Windows ends every name at its first NUL: a path with one inside would
// reach the folder or file in front of it (the listing of "x" + NUL + "\"
// yields "x" itself, one level deeper at every sweep of a walk). No such path
// reaches anything.
TYPED_TEST(Contract, PathWithANulInsideNamesNothing) {
  using namespace std::string_literals;
  ASSERT_TRUE(this->b.AddFolder("x"));
  ASSERT_TRUE(this->b.AddFile("x\\f.txt", "keep"));
  auto& fs = this->b.files();
  for (const std::string& folder : {this->P("x\0\\"s), this->P("x\\\0\\"s)}) {
    EXPECT_EQ(this->List(folder, 20), Listed{});
    EXPECT_EQ(this->List(folder, 0), Listed{});
  }
  const std::string file = this->P("x\\f.txt\0.bak"s);
  EXPECT_EQ(fs.Attributes(file), std::nullopt);
  EXPECT_EQ(fs.Attributes(this->P("x\0"s)), std::nullopt);
  EXPECT_EQ(fs.OpenRead(file), nullptr);
  EXPECT_EQ(fs.OpenToErase(file), nullptr);
  EXPECT_FALSE(fs.Delete(file));
  EXPECT_EQ(this->b.Content("x\\f.txt"), "keep");
}

TYPED_TEST(Contract, FolderLinkCarriesTheReparseBitAndIsNotWalked) {
  ASSERT_TRUE(this->b.AddFolder("real"));
  ASSERT_TRUE(this->b.AddFile("real\\inside.txt", "x"));
  ASSERT_TRUE(this->b.AddFolderLink("loop", "real"));
  // The walk leaves a folder out unless its word is exactly 16 or 20: a folder
  // link must not look like one, or a link back to an ancestor loops the walk.
  EXPECT_EQ(this->b.files().Attributes(this->P("loop")), 0x410u)
      << "a folder link no longer reports folder + reparse point: the walk would follow it";
  const Listed listed = this->List(this->b.root, 20);
  EXPECT_NE(std::find(listed.begin(), listed.end(), std::pair<std::string, std::uint32_t>("loop", 0x410)),
            listed.end());
  EXPECT_EQ(this->List(this->b.root, 0), Listed{});
}

// ---- deleting and wiping --------------------------------------------------

// Writes and flushes work on the handle whose name is already marked to go;
// the name stays, unopenable, until that handle closes.
TYPED_TEST(Contract, PlainFileIsMarkedAtTheOpeningAndWrittenInPlace) {
  ASSERT_TRUE(this->b.AddFile("f.txt", "hello world"));
  auto& fs = this->b.files();
  auto target = fs.OpenToErase(this->P("f.txt"));
  ASSERT_TRUE(target);
  EXPECT_EQ(target->kind(), Kind::Plain);
  EXPECT_EQ(target->Length(), 11u) << "the opening truncated the file";
  EXPECT_TRUE(target->Write("00000", 5));
  EXPECT_TRUE(target->Rewind());
  EXPECT_TRUE(target->Write("1", 1));
  EXPECT_TRUE(target->Flush());
  EXPECT_EQ(target->Length(), 11u) << "written over, neither cut nor appended to";
  EXPECT_EQ(fs.OpenToErase(this->P("f.txt")), nullptr) << "left to the wipe that holds it";
  EXPECT_FALSE(fs.Delete(this->P("f.txt"))) << "held by the wipe";
  EXPECT_TRUE(this->b.Exists("f.txt")) << "the name goes with the handle, not before";
  EXPECT_TRUE(target->Close());
  EXPECT_FALSE(this->b.Exists("f.txt"));

  // Let go without a word, as when the program ends mid-wipe: the name goes too.
  ASSERT_TRUE(this->b.AddFile("g.txt", "hello"));
  target = fs.OpenToErase(this->P("g.txt"));
  ASSERT_TRUE(target);
  EXPECT_TRUE(target->Write("0", 1));
  target.reset();
  EXPECT_FALSE(this->b.Exists("g.txt"));
}

TYPED_TEST(Contract, FilesThatCannotBeWipedStayAsTheyWere) {
  ASSERT_TRUE(this->b.AddFile("ro.txt", "keep", 33));
  ASSERT_TRUE(this->b.AddFile("held.txt", "keep"));
  auto& fs = this->b.files();
  auto held = this->b.Hold("held.txt");
  ASSERT_TRUE(held);

  for (const char* name : {"ro.txt", "held.txt"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(fs.OpenToErase(this->P(name)), nullptr);
    EXPECT_FALSE(fs.Delete(this->P(name)));
    EXPECT_EQ(this->b.Content(name), "keep");
  }
  EXPECT_EQ(fs.OpenToErase(this->P("missing.txt")), nullptr);
  EXPECT_FALSE(fs.Delete(this->P("missing.txt")));
  EXPECT_FALSE(this->b.Exists("missing.txt")) << "nothing created";

  held.reset();
  EXPECT_TRUE(fs.Delete(this->P("held.txt"))) << "deletable once let go";
  EXPECT_FALSE(this->b.Exists("held.txt"));
}

// Delete asks nothing of the file before it opens it: the open itself must
// refuse folders, an empty one and a link to one included.
TYPED_TEST(Contract, DeleteLeavesFoldersAlone) {
  ASSERT_TRUE(this->b.AddFolder("empty"));
  ASSERT_TRUE(this->b.AddFolder("real"));
  ASSERT_TRUE(this->b.AddFile("real\\inside.txt", "x"));
  ASSERT_TRUE(this->b.AddFolderLink("loop", "real"));
  for (const char* name : {"empty", "empty\\", "real", "loop"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(this->b.files().Delete(this->P(name)));
  }
  EXPECT_TRUE(this->b.Exists("empty"));
  EXPECT_TRUE(this->b.Exists("loop"));
  EXPECT_EQ(this->b.Content("real\\inside.txt"), "x");
}

TYPED_TEST(Contract, HardLinkedNameGoesAloneAndTheOtherKeepsItsBytes) {
  ASSERT_TRUE(this->b.AddFile("first.txt", "shared bytes"));
  ASSERT_TRUE(this->b.AddHardLink("second.txt", "first.txt"));
  auto target = this->b.files().OpenToErase(this->P("second.txt"));
  ASSERT_TRUE(target);
  EXPECT_EQ(target->kind(), Kind::HardLinked);
  EXPECT_TRUE(target->Close());
  target.reset();
  EXPECT_FALSE(this->b.Exists("second.txt"));
  EXPECT_EQ(this->b.Content("first.txt"), "shared bytes");
}

TYPED_TEST(Contract, FileLinkIsRemovedAsALinkAndItsTargetStays) {
  if (!TypeParam::kTellsFileLinks) GTEST_SKIP() << "a file link opens as its target here";
  ASSERT_TRUE(this->b.AddFolder("elsewhere"));
  ASSERT_TRUE(this->b.AddFile("elsewhere\\target.txt", "precious"));
  ASSERT_TRUE(this->b.AddFile("near.txt", "precious too"));
  ASSERT_TRUE(this->b.AddLink("far.lnk", "elsewhere\\target.txt"));
  ASSERT_TRUE(this->b.AddLink("close.lnk", "near.txt"));
  auto& fs = this->b.files();
  // Wine reports a link to a file as a plain file: only the open can tell.
  EXPECT_EQ(fs.Attributes(this->P("far.lnk")), 32u);

  auto target = fs.OpenToErase(this->P("far.lnk"));
  ASSERT_TRUE(target);
  EXPECT_EQ(target->kind(), Kind::Link);
  EXPECT_FALSE(target->Rewind());
  EXPECT_FALSE(target->Write("000", 3)) << "a link is never written through";
  EXPECT_FALSE(target->Flush());
  EXPECT_TRUE(target->Close());
  target.reset();
  EXPECT_FALSE(this->b.Exists("far.lnk"));
  EXPECT_EQ(this->b.Content("elsewhere\\target.txt"), "precious");

  EXPECT_TRUE(fs.Delete(this->P("close.lnk")));
  EXPECT_FALSE(this->b.Exists("close.lnk"));
  EXPECT_EQ(this->b.Content("near.txt"), "precious too");
}

TYPED_TEST(Contract, FileReachedThroughAFolderLinkIsNoLinkItself) {
  ASSERT_TRUE(this->b.AddFolder("real"));
  ASSERT_TRUE(this->b.AddFile("real\\f.txt", "abc"));
  ASSERT_TRUE(this->b.AddFolderLink("via", "real"));
  auto target = this->b.files().OpenToErase(this->P("via\\f.txt"));
  ASSERT_TRUE(target);
  EXPECT_EQ(target->kind(), Kind::Plain);
  EXPECT_TRUE(target->Close());
  EXPECT_FALSE(this->b.Exists("real\\f.txt"));
}

// The link is what was listed; a read-only target is not ours to change, but
// the link is removed as a link all the same, with or without passes.
TYPED_TEST(Contract, LinkToAReadOnlyFileIsRemovedAndTheFileStays) {
  if (!TypeParam::kTellsFileLinks) GTEST_SKIP() << "a file link opens as its target here";
  ASSERT_TRUE(this->b.AddFile("ro.txt", "keep", 33));
  ASSERT_TRUE(this->b.AddLink("a.lnk", "ro.txt"));
  ASSERT_TRUE(this->b.AddLink("b.lnk", "ro.txt"));
  auto& fs = this->b.files();
  auto target = fs.OpenToErase(this->P("a.lnk"));
  ASSERT_TRUE(target);
  EXPECT_EQ(target->kind(), Kind::Link);
  EXPECT_TRUE(target->Close());
  EXPECT_TRUE(fs.Delete(this->P("b.lnk")));
  EXPECT_FALSE(this->b.Exists("a.lnk"));
  EXPECT_FALSE(this->b.Exists("b.lnk"));
  EXPECT_EQ(this->b.Content("ro.txt"), "keep");
  EXPECT_EQ(fs.Attributes(this->P("ro.txt")), 33u);
}

// Wine opens a link to a file as its target: while a program holds the
// target, the link cannot be removed either, with or without passes.
TYPED_TEST(Contract, LinkToAHeldFileStaysWhileItIsHeld) {
  if (!TypeParam::kTellsFileLinks) GTEST_SKIP() << "a file link opens as its target here";
  ASSERT_TRUE(this->b.AddFile("t.txt", "held"));
  ASSERT_TRUE(this->b.AddLink("l.lnk", "t.txt"));
  auto held = this->b.Hold("t.txt");
  ASSERT_TRUE(held);
  fake::CountingPump pump;
  for (int passes : {0, 3}) EraseFile(this->b.files(), pump, this->P("l.lnk"), passes);
  EXPECT_TRUE(this->b.Exists("l.lnk"));
  held.reset();
  EXPECT_EQ(this->b.Content("t.txt"), "held");
  EraseFile(this->b.files(), pump, this->P("l.lnk"), 3);
  EXPECT_FALSE(this->b.Exists("l.lnk")) << "removed once let go";
  EXPECT_EQ(this->b.Content("t.txt"), "held");
}

// Wine lists no link whose target is gone and cannot open one: it is left
// where it is, and no removal is ever aimed at where it points.
TYPED_TEST(Contract, DanglingLinkIsNotSeenAndStays) {
  ASSERT_TRUE(this->b.AddFile("t.txt", "x"));
  ASSERT_TRUE(this->b.AddLink("l.txt", "t.txt"));
  ASSERT_TRUE(this->b.Remove("t.txt"));
  auto& fs = this->b.files();
  EXPECT_EQ(this->List(this->b.root, 20), (Listed{{".", 16}, {"..", 16}}));
  EXPECT_EQ(fs.Attributes(this->P("l.txt")), std::nullopt);
  EXPECT_EQ(fs.OpenToErase(this->P("l.txt")), nullptr);
  EXPECT_FALSE(fs.Delete(this->P("l.txt")));
  fake::CountingPump pump;
  EraseFile(fs, pump, this->P("l.txt"), 0);
  EraseFile(fs, pump, this->P("l.txt"), 3);
  ASSERT_TRUE(this->b.AddFile("t.txt", "back"));
  EXPECT_EQ(this->b.Content("l.txt"), "back") << "the link is still there";
}

// Wine takes a link named like a file that points at a folder for a folder
// link (0x410, listed only with the folder bit in the filter): no file
// listing shows it, and it can be neither read, opened for a wipe nor deleted.
TYPED_TEST(Contract, FileNamedLinkToAFolderIsNoFile) {
  ASSERT_TRUE(this->b.AddFolder("d"));
  ASSERT_TRUE(this->b.AddFile("d\\f.txt", "x"));
  ASSERT_TRUE(this->b.AddLink("l.txt", "d"));
  auto& fs = this->b.files();
  EXPECT_EQ(this->List(this->b.root, 0), Listed{});
  EXPECT_EQ(fs.OpenRead(this->P("l.txt")), nullptr);
  EXPECT_EQ(fs.OpenToErase(this->P("l.txt")), nullptr);
  EXPECT_FALSE(fs.Delete(this->P("l.txt")));
  EXPECT_TRUE(this->b.Exists("l.txt"));
  EXPECT_EQ(this->b.Content("d\\f.txt"), "x");
}

// A cookie file being overwritten is shared with nobody, readers included.
TYPED_TEST(Contract, FileOpenForAWipeCannotBeRead) {
  ASSERT_TRUE(this->b.AddFile("c.txt", "a\nb\nc\n"));
  auto target = this->b.files().OpenToErase(this->P("c.txt"));
  ASSERT_TRUE(target);
  EXPECT_EQ(this->b.files().OpenRead(this->P("c.txt")), nullptr);
}

TYPED_TEST(Contract, NamesAreFoundWithoutRegardToCase) {
  ASSERT_TRUE(this->b.AddFile("Mixed.TXT", "x"));
  auto& fs = this->b.files();
  EXPECT_EQ(fs.Attributes(this->P("mIXED.txt")), 0x20u);
  EXPECT_TRUE(fs.OpenRead(this->P("MIXED.TXT")));
  EXPECT_TRUE(fs.Delete(this->P("mixed.txt")));
  EXPECT_FALSE(this->b.Exists("Mixed.TXT"));
}

// The passes write over the old length only; a write past it must still land.
TYPED_TEST(Contract, WritesPastTheEndExtendTheFile) {
  ASSERT_TRUE(this->b.AddFile("f.txt", "abc"));
  auto target = this->b.files().OpenToErase(this->P("f.txt"));
  ASSERT_TRUE(target);
  EXPECT_TRUE(target->Write("00000", 5));
  EXPECT_EQ(target->Length(), 5u);
}

// Cookie files named like devices or with a trailing dot are read as they are.
TYPED_TEST(Contract, ReadStreamGivesTheBytes) {
  ASSERT_TRUE(this->b.AddFile("foo", "hidden", 34));
  for (const char* name : {"c.txt", "nul.txt", "con", "foo."}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(this->b.AddFile(name, "a\rb\r\nc\n"));
    auto stream = this->b.files().OpenRead(this->P(name));
    ASSERT_TRUE(stream);
    char buffer[64];
    const std::size_t got = stream->Read(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, got), "a\rb\r\nc\n");
    EXPECT_EQ(stream->Read(buffer, sizeof buffer), 0u);
  }
  EXPECT_EQ(this->b.files().OpenRead(this->P("none.txt")), nullptr);
}

// ---- the eraser against each kind of name --------------------------------

// EraseFile itself, with and without passes: the listed name goes or stays as
// a whole, and nothing beside it is touched. "foo." and "bar " stand beside
// hidden "foo" and "bar", which plain Win32 parsing would reach instead.
TYPED_TEST(Contract, EraseFileTouchesExactlyTheListedName) {
  using B = TypeParam;
  const std::string deep = std::string(120, 'd') + "\\" + std::string(120, 'e') + "\\";
  struct Case {
    const char* what;
    std::string name;
    bool goes;
    std::vector<std::pair<std::string, std::string>> kept;  // name beside it, its bytes
    bool (*setUp)(B&, const std::string& dir, std::shared_ptr<void>& hold);
    bool fileLink = false;
    bool ownBytes = true;  // the name's bytes are its own, so passes write them
  };
  const Case cases[] = {
      {"plain", "plain.txt", true, {}, [](B&, const std::string&, std::shared_ptr<void>&) { return true; }},
      {"read-only", "ro.txt", false, {{"ro.txt", "bytes"}},
       [](B& b, const std::string& d, std::shared_ptr<void>&) { return b.SetAttributes(d + "ro.txt", 33); }},
      {"locked", "held.txt", false, {{"held.txt", "bytes"}},
       [](B& b, const std::string& d, std::shared_ptr<void>& hold) { return bool(hold = b.Hold(d + "held.txt")); }},
      {"held, sharing everything", "shared.txt", true, {},
       [](B& b, const std::string& d, std::shared_ptr<void>& hold) {
         return bool(hold = b.HoldSharing(d + "shared.txt"));
       }},
      {"hard link", "second.txt", true, {{"first.txt", "shared"}},
       [](B& b, const std::string& d, std::shared_ptr<void>&) {
         return b.Remove(d + "second.txt") && b.AddFile(d + "first.txt", "shared") &&
                b.AddHardLink(d + "second.txt", d + "first.txt");
       }, false, false},
      {"file link", "l.lnk", true, {{"t.txt", "target"}},
       [](B& b, const std::string& d, std::shared_ptr<void>&) {
         return b.Remove(d + "l.lnk") && b.AddFile(d + "t.txt", "target") &&
                b.AddLink(d + "l.lnk", d + "t.txt");
       }, true, false},
      {"folder link", "fl", false, {{"real\\in.txt", "inside"}},
       [](B& b, const std::string& d, std::shared_ptr<void>&) {
         return b.Remove(d + "fl") && b.AddFolder(d + "real") && b.AddFile(d + "real\\in.txt", "inside") &&
                b.AddFolderLink(d + "fl", d + "real");
       }},
      {"trailing dot", "foo.", true, {{"foo", "hidden"}},
       [](B& b, const std::string& d, std::shared_ptr<void>&) { return b.AddFile(d + "foo", "hidden", 34); }},
      {"trailing blank", "bar ", true, {{"bar", "hidden"}},
       [](B& b, const std::string& d, std::shared_ptr<void>&) { return b.AddFile(d + "bar", "hidden", 34); }},
      {"con", "con", true, {}, [](B&, const std::string&, std::shared_ptr<void>&) { return true; }},
      {"nul.txt", "nul.txt", true, {}, [](B&, const std::string&, std::shared_ptr<void>&) { return true; }},
      {"aux.dat", "aux.dat", true, {}, [](B&, const std::string&, std::shared_ptr<void>&) { return true; }},
      {"com1", "com1", true, {}, [](B&, const std::string&, std::shared_ptr<void>&) { return true; }},
      {"lpt1", "lpt1", true, {}, [](B&, const std::string&, std::shared_ptr<void>&) { return true; }},
      {"non-ASCII", "Zo\xC3\xAB \xE2\x98\x83 \xE6\x96\x87.txt", true, {},
       [](B&, const std::string&, std::shared_ptr<void>&) { return true; }},
      {"beyond 260 characters", deep + std::string(40, 'f') + ".txt", true, {},
       [](B&, const std::string&, std::shared_ptr<void>&) { return true; }},
  };
  int dirNumber = 0;
  for (const Case& c : cases) {
    if (c.fileLink && !B::kTellsFileLinks) continue;
    for (int passes : {0, 3}) {
      SCOPED_TRACE(testing::Message() << c.what << ", " << passes << " passes");
      const std::string dir = "c" + std::to_string(++dirNumber) + "\\";
      ASSERT_TRUE(this->b.AddFolder(dir));
      if (c.name.find('\\') != std::string::npos) {
        ASSERT_TRUE(this->b.AddFolder(dir + deep.substr(0, 120)));
        ASSERT_TRUE(this->b.AddFolder(dir + deep));
      }
      ASSERT_TRUE(this->b.AddFile(dir + c.name, "bytes"));
      std::shared_ptr<void> hold;
      ASSERT_TRUE(c.setUp(this->b, dir, hold)) << "set-up";
      ASSERT_TRUE(this->b.Exists(dir + c.name)) << "set-up";
      fake::CountingPump pump;
      EraseFile(this->b.files(), pump, this->P(dir + c.name), passes);
      hold.reset();
      EXPECT_EQ(this->b.Exists(dir + c.name), !c.goes) << this->b.State();
      for (const auto& [name, bytes] : c.kept) EXPECT_EQ(this->b.Content(dir + name), bytes) << name;
      const bool written = c.goes && passes > 0 && c.ownBytes;
      EXPECT_EQ(pump.Count() > 0, written) << "events run while passes write, and only then";
    }
  }
}

// A file goes only in the very folder the scan listed it from, reached from
// the root through no link. A folder on the way swapped after the scan for a
// link to a folder holding the same names, or for a new folder, or a root
// replaced, leaves every file below it alone, and the rest still goes. The
// root itself may be reached through a link.
TYPED_TEST(Contract, EraseStaysInTheFoldersTheScanListed) {
  using B = TypeParam;
  struct Case {
    const char* what;
    const char* root;  // the scanned root, below the case's folder
    bool (*change)(B&, const std::string& dir);
    std::vector<const char*> gone;  // below the case's folder
    std::vector<std::pair<const char*, const char*>> kept;  // and their bytes
  };
  const Case cases[] = {
      {"nothing changed", "root", [](B&, const std::string&) { return true; },
       {"root\\a.txt", "root\\T\\t1.bin", "root\\T\\deep\\t2.bin", "root\\K\\k.bin"}, {{"outside\\t1.bin", "precious"}}},
      {"a folder swapped for a link", "root",
       [](B& b, const std::string& d) { return b.Rename(d + "root\\T", d + "away") && b.AddFolderLink(d + "root\\T", d + "outside"); },
       {"root\\a.txt", "root\\K\\k.bin"},
       {{"outside\\t1.bin", "precious"}, {"outside\\deep\\t2.bin", "precious"}, {"away\\t1.bin", "listed"},
        {"away\\deep\\t2.bin", "listed"}}},
      {"a folder replaced by another", "root",
       [](B& b, const std::string& d) {
         return b.Rename(d + "root\\T", d + "away") && b.AddFolder(d + "root\\T") &&
                b.AddFile(d + "root\\T\\t1.bin", "precious") && b.AddFolder(d + "root\\T\\deep") &&
                b.AddFile(d + "root\\T\\deep\\t2.bin", "precious");
       },
       {"root\\a.txt", "root\\K\\k.bin"},
       {{"root\\T\\t1.bin", "precious"}, {"root\\T\\deep\\t2.bin", "precious"}, {"away\\t1.bin", "listed"},
        {"away\\deep\\t2.bin", "listed"}}},
      {"the root replaced", "root",
       [](B& b, const std::string& d) {
         return b.Rename(d + "root", d + "away") && b.AddFolder(d + "root") && b.AddFile(d + "root\\a.txt", "precious");
       },
       {},
       {{"root\\a.txt", "precious"}, {"away\\a.txt", "listed"}, {"away\\T\\t1.bin", "listed"}, {"away\\K\\k.bin", "listed"}}},
      {"the root reached through a link", "via",
       [](B&, const std::string&) { return true; },
       {"root\\a.txt", "root\\T\\t1.bin", "root\\T\\deep\\t2.bin", "root\\K\\k.bin"}, {{"outside\\t1.bin", "precious"}}},
  };
  int dirNumber = 0;
  for (const Case& c : cases) {
    for (int passes : {0, 1}) {
      SCOPED_TRACE(testing::Message() << c.what << ", " << passes << " passes");
      const std::string dir = "b" + std::to_string(++dirNumber) + "\\";
      for (const char* folder : {"", "root", "root\\T", "root\\T\\deep", "root\\K", "outside", "outside\\deep"})
        ASSERT_TRUE(this->b.AddFolder(dir + folder));
      for (const char* file : {"root\\a.txt", "root\\T\\t1.bin", "root\\T\\deep\\t2.bin", "root\\K\\k.bin"})
        ASSERT_TRUE(this->b.AddFile(dir + file, "listed"));
      for (const char* file : {"outside\\t1.bin", "outside\\deep\\t2.bin"}) ASSERT_TRUE(this->b.AddFile(dir + file, "precious"));
      ASSERT_TRUE(this->b.AddFolderLink(dir + "via", dir + "root"));

      ProgramState state;
      fake::CountingPump pump;
      FolderWalk walk{this->b.files(), pump, state};
      const std::string root = this->P(dir + c.root + "\\");
      walk.ListFolderTree(root);
      state.fileList.Clear();
      for (std::size_t i = 1; i <= state.folderList.Count(); ++i) walk.ListFiles(state.folderList[i], 1);
      ASSERT_EQ(state.fileList.Count(), 4u) << this->b.State();
      ASSERT_TRUE(c.change(this->b, dir)) << "the change after the scan";

      const auto scope = this->b.files().Within(root, state.walkedFolders);
      for (std::size_t i = 1; i <= state.fileList.Count(); ++i) EraseFile(*scope, pump, state.fileList[i], passes);
      for (const char* file : c.gone) EXPECT_FALSE(this->b.Exists(dir + file)) << file << "\n" << this->b.State();
      for (const auto& [file, bytes] : c.kept) EXPECT_EQ(this->b.Content(dir + file), bytes) << file << "\n" << this->b.State();
    }
  }
}

// The walk and the scan's listing hand such names on exactly as listed, so
// that the eraser gets them right: the same odd names in a tree.
TYPED_TEST(Contract, FolderWalkListsOddNamesExactly) {
  const std::string deep = std::string(130, 'd') + "\\";
  const char* files[] = {"foo.", "bar ", "con", "nul.txt", "aux.dat", "com1", "lpt1",
                         "Zo\xC3\xAB \xE2\x98\x83.txt", "sub.\\in.txt"};
  ASSERT_TRUE(this->b.AddFolder("tree"));
  ASSERT_TRUE(this->b.AddFolder("tree\\sub."));
  ASSERT_TRUE(this->b.AddFolder("tree\\" + deep));
  ASSERT_TRUE(this->b.AddFolder("tree\\" + deep + deep));
  ASSERT_TRUE(this->b.AddFile("tree\\" + deep + deep + "far.txt", "x"));
  for (const char* f : files) ASSERT_TRUE(this->b.AddFile(std::string("tree\\") + f, "x")) << f;
  ASSERT_TRUE(this->b.AddFile("tree\\foo", "x", 34));
  ASSERT_TRUE(this->b.AddFile("tree\\bar", "x", 34));

  ProgramState state;
  fake::CountingPump pump;
  FolderWalk walk{this->b.files(), pump, state};
  const std::string root = this->P("tree\\");
  walk.ListFolderTree(root);
  std::vector<std::string> folders, found;
  for (std::size_t i = 1; i <= state.folderList.Count(); ++i) folders.push_back(state.folderList[i]);
  std::sort(folders.begin() + 1, folders.end());
  EXPECT_EQ(folders, (std::vector<std::string>{root, root + deep, root + deep + deep, root + "sub.\\"}));
  state.fileList.Clear();
  for (const std::string& folder : folders) walk.ListFiles(folder, 1);
  for (std::size_t i = 1; i <= state.fileList.Count(); ++i) found.push_back(state.fileList[i]);
  std::vector<std::string> expected = {root + deep + deep + "far.txt"};
  for (const char* f : files) expected.push_back(root + f);
  std::sort(found.begin(), found.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(found, expected) << this->b.State();
}

}  // namespace
}  // namespace veltrane::contract
