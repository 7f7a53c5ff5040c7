// What only the real layer has: Wine's own quirks it depends on, UTF-16 at
// the boundary, the throttled event pump.
#include <objbase.h>
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "platform/win32/exact_path.h"
#include "platform/win32/link_choice.h"
#include "support/setup.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_runtime.h"
#include "registry/module_registry.h"

namespace veltrane::win32 {
namespace {

const std::string kFolder = "C:\\vtest\\layer";
const std::string kKey = "Software\\VeltraneTest\\layer";

class Win32Layer : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::MakeFolder("C:\\vtest");
    ASSERT_TRUE(testing::RemoveTree(kFolder));
    ASSERT_TRUE(testing::MakeFolder(kFolder));
    ASSERT_TRUE(testing::ResetKey(kKey));
  }
  void TearDown() override {
    testing::RemoveTree(kFolder);
    testing::DeleteKey(kKey);
  }
};

// The walk and the scan rely on Wine keeping these bits per file; without
// them hidden and system entries would be listed as plain ones.
TEST_F(Win32Layer, CanaryWineKeepsHiddenAndSystemBits) {
  Win32FileSystem fs;
  const std::string file = kFolder + "\\h.txt";
  ASSERT_TRUE(testing::MakeFile(file, "x"));
  ASSERT_TRUE(testing::SetAttributes(file, platform::kAttrHidden | platform::kAttrSystem));
  EXPECT_EQ(fs.Attributes(file), 0x26u) << "Wine dropped the hidden/system attribute: "
                                           "is user_xattr available on this file system?";
}

TEST_F(Win32Layer, StringDataIsConvertedFromUtf16) {
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"odd", {'a', 0, 'b'}, "a"},  // a trailing half character is dropped
      {"nul", {'a', 0, 0, 0}, std::string("a\0", 2)},
      {"euro", {0xAC, 0x20, 0, 0}, std::string("\xE2\x82\xAC\0", 4)},
  };
  Win32Registry registry;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(testing::SetRegBytes(kKey, c.name, platform::kRegSz, c.bytes));
    EXPECT_EQ(GetRegValue(registry, kUserRoot, kKey, c.name), RegValue(c.expected));
  }
  EXPECT_EQ(registry.OpenKeyCount(), 0u);
}

// Wine holds "foo." as "foo": a file and a link from "foo." to "foo" beside
// it look alike, and the file under "foo" tells them apart. When that file is
// the same one under a further name, nothing can tell, and nothing is done.
TEST_F(Win32Layer, TrailingDotNamesBesideTheirPlainNames) {
  Win32FileSystem fs(LinkCheck::FinalPath);
  const std::string dir = kFolder + "\\";
  ASSERT_TRUE(testing::MakeFile(dir + "own.", "own"));
  ASSERT_TRUE(testing::MakeFile(dir + "own", "plain"));
  ASSERT_TRUE(testing::MakeFile(dir + "lone.", "lone"));
  ASSERT_TRUE(testing::MakeFile(dir + "target", "target"));
  ASSERT_TRUE(testing::MakeUnixLink(kFolder, "target.", "target"));
  ASSERT_TRUE(testing::MakeFile(dir + "hard", "shared"));
  ASSERT_TRUE(testing::MakeHardLink(dir + "hard.", dir + "hard"));

  EXPECT_TRUE(fs.Delete(dir + "own."));
  EXPECT_TRUE(fs.Delete(dir + "lone."));
  EXPECT_TRUE(fs.Delete(dir + "target."));
  EXPECT_FALSE(fs.Delete(dir + "hard."));
  EXPECT_EQ(fs.OpenToErase(dir + "hard."), nullptr);
  for (const char* gone : {"own.", "lone.", "target."}) EXPECT_FALSE(testing::Exists(dir + gone)) << gone;
  EXPECT_EQ(testing::ReadAll(dir + "own"), "plain");
  EXPECT_EQ(testing::ReadAll(dir + "target"), "target") << "removed as a link";
  EXPECT_EQ(testing::ReadAll(dir + "hard."), "shared");
  EXPECT_EQ(testing::ReadAll(dir + "hard"), "shared");
}

// The very folder the scan listed, moved away and linked back under its old
// name: the same folder, but reached through a link. Wine opens the link as
// its target with no reparse bit; the path it holds for the folder tells.
TEST_F(Win32Layer, AFolderMovedAndLinkedBackIsNotEnteredThroughTheLink) {
  Win32FileSystem fs(LinkCheck::FinalPath);
  const std::string root = kFolder + "\\root\\";
  ASSERT_TRUE(testing::MakeFolder(root));
  ASSERT_TRUE(testing::MakeFolder(root + "T"));
  ASSERT_TRUE(testing::MakeFile(root + "T\\f.bin", "listed"));
  platform::WalkedFolders walked;
  for (const std::string& folder : {root, root + "T\\"}) walked[folder] = *fs.List(folder, 20)->Folder();
  ASSERT_TRUE(testing::Rename(root + "T", kFolder + "\\away"));
  ASSERT_TRUE(testing::MakeUnixLink(root, "T", "../away"));
  EXPECT_FALSE(fs.Within(root, walked)->Delete(root + "T\\f.bin"));
  EXPECT_EQ(testing::ReadAll(kFolder + "\\away\\f.bin"), "listed");
}

// A name straight in a drive root is settled against the root itself, "C:\\"
// (without its "\\", "C:" is the drive's working folder): a trailing-dot
// name beside its plain twin, and a link there, go as themselves.
TEST_F(Win32Layer, NamesStraightInADriveRoot) {
  Win32FileSystem fs(LinkCheck::FinalPath);
  const std::string dot = "C:\\vtest-root.", plain = "C:\\vtest-root", link = "C:\\vtest-root.lnk";
  const std::string target = kFolder + "\\target";
  for (const std::string& name : {dot, plain, link}) testing::RemoveTree(name);
  ASSERT_TRUE(testing::MakeFile(dot, "dot"));
  ASSERT_TRUE(testing::MakeFile(plain, "plain"));
  ASSERT_TRUE(testing::MakeFile(target, "target"));
  ASSERT_TRUE(testing::MakeUnixLink("C:\\", "vtest-root.lnk", "vtest\\layer\\target"));
  EXPECT_TRUE(fs.Delete(dot));
  EXPECT_TRUE(fs.Delete(link));
  EXPECT_FALSE(testing::Exists(dot));
  EXPECT_FALSE(testing::Exists(link));
  EXPECT_EQ(testing::ReadAll(plain), "plain");
  EXPECT_EQ(testing::ReadAll(target), "target") << "removed as a link";
  testing::RemoveTree(plain);
}

// A link is removed by renaming a spare file of ours over it; a file that
// already has the spare's name is someone else's and keeps its bytes.
TEST_F(Win32Layer, ASpareNameInUseIsLeftAlone) {
  Win32FileSystem fs(LinkCheck::FinalPath);
  const std::string dir = kFolder + "\\";
  const std::string spare = dir + "l.lnk~veltrane-" + std::to_string(GetCurrentProcessId());
  ASSERT_TRUE(testing::MakeFile(dir + "t.txt", "target"));
  ASSERT_TRUE(testing::MakeUnixLink(kFolder, "l.lnk", "t.txt"));
  ASSERT_TRUE(testing::MakeFile(spare, "not ours"));
  EXPECT_TRUE(fs.Delete(dir + "l.lnk"));
  EXPECT_FALSE(testing::Exists(dir + "l.lnk"));
  EXPECT_EQ(testing::ReadAll(spare), "not ours");
  EXPECT_EQ(testing::ReadAll(dir + "t.txt"), "target");
}

// Any one sign of Wine chooses the final-path check: a build that hides its
// exports, or a prefix without its key, still gets it.
TEST(LinkChoice, AnyOneSignOfWineChoosesTheFinalPathCheck) {
  using Sign = bool WineSigns::*;
  const Sign signs[] = {&WineSigns::versionExport, &WineSigns::otherExports, &WineSigns::registryKey,
                        &WineSigns::heldPaths};
  const WineSigns real = ReadWineSigns();
  for (std::size_t i = 0; i < std::size(signs); ++i) {
    const Sign sign = signs[i];
    SCOPED_TRACE(::testing::Message() << "sign " << i);
    EXPECT_TRUE(real.*sign) << "every sign shows under Wine";
    WineSigns without = real;
    without.*sign = false;
    EXPECT_EQ(ChooseLinkCheck(without), LinkCheck::FinalPath) << "faked away";
    WineSigns alone;
    alone.*sign = true;
    EXPECT_EQ(ChooseLinkCheck(alone), LinkCheck::FinalPath) << "alone";
  }
  EXPECT_EQ(ChooseLinkCheck(WineSigns{}), LinkCheck::Handle);
  EXPECT_EQ(DetectLinkCheck(), LinkCheck::FinalPath);
}

// A reader that shares everything lets a wipe be: the file is overwritten,
// and goes when the reader lets go. A link to it opens for deletion, but Wine
// refuses the rename over a name whose target is open, so the link stays,
// and the target is never written through it.
TEST_F(Win32Layer, FileHeldByASharingReaderIsWipedButALinkToItStays) {
  Win32FileSystem fs(LinkCheck::FinalPath);
  const std::string dir = kFolder + "\\";
  ASSERT_TRUE(testing::MakeFile(dir + "t.txt", "read"));
  ASSERT_TRUE(testing::MakeUnixLink(kFolder, "l.lnk", "t.txt"));
  auto reader = std::make_unique<testing::HeldFile>(dir + "t.txt", true);
  ASSERT_TRUE(reader->ok());
  auto link = fs.OpenToErase(dir + "l.lnk");
  ASSERT_TRUE(link);
  EXPECT_EQ(link->kind(), platform::WipeTarget::Kind::Link);
  EXPECT_FALSE(link->Write("0", 1));
  EXPECT_FALSE(link->Close());
  EXPECT_TRUE(testing::Exists(dir + "l.lnk"));
  EXPECT_EQ(testing::ReadAll(dir + "t.txt"), "read");

  auto target = fs.OpenToErase(dir + "t.txt");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->kind(), platform::WipeTarget::Kind::Plain);
  EXPECT_TRUE(target->Write("0000", 4));
  EXPECT_TRUE(target->Close());
  EXPECT_EQ(testing::ReadAll(dir + "t.txt"), "0000") << "overwritten while the reader holds it";
  reader.reset();
  EXPECT_FALSE(testing::Exists(dir + "t.txt"));
}

// A running browser keeps its cookie files open for writing; reading them
// must not need it to let go.
TEST_F(Win32Layer, FileHeldOpenForWritingIsStillRead) {
  Win32FileSystem fs;
  const std::string file = kFolder + "\\c.txt";
  ASSERT_TRUE(testing::MakeFile(file, "a\nb\nexample.com/\n"));
  HANDLE writer = CreateFileW(ExactPath(file)->c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  auto stream = fs.OpenRead(file);
  CloseHandle(writer);
  ASSERT_TRUE(stream);
  char text[32] = {};
  EXPECT_EQ(stream->Read(text, sizeof text), 17u);
}

// A sparse file makes the length past 32 bits cheap to reach.
TEST_F(Win32Layer, WipeTargetReportsALengthPast4GiB) {
  Win32FileSystem fs;
  const std::string file = kFolder + "\\big.dat";
  constexpr std::uint64_t kLength = (std::uint64_t(1) << 32) + 123;
  {
    HANDLE h = CreateFileW(ExactPath(file)->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = LONGLONG(kLength);
    const bool sized = SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    ASSERT_TRUE(sized);
  }
  auto target = fs.OpenToErase(file);
  ASSERT_TRUE(target);
  EXPECT_EQ(target->Length(), kLength);
  EXPECT_TRUE(target->Close());
  EXPECT_FALSE(testing::Exists(file));
}

// Every key a read or a delete opens is closed again. Wine counts no
// handles for GetProcessHandleCount, but gives a new handle the lowest free
// slot: after many reads a fresh handle takes the slot it took before.
TEST_F(Win32Layer, RegistryReadsAndDeletesLeaveNoKeyOpen) {
  Win32Registry registry;
  ASSERT_TRUE(testing::SetRegText(kKey, "Url1", platform::kRegSz, "http://a/", true));
  const auto freshHandle = [] {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(event);
    return event;
  };
  GetRegValue(registry, kUserRoot, kKey, "Url1");  // anything opened once for good is open now
  const HANDLE before = freshHandle();
  for (int i = 0; i < 50; ++i) {
    GetRegValue(registry, kUserRoot, kKey, "Url1");
    DeleteRegValue(registry, kUserRoot, kKey, "Url2");
  }
  EXPECT_EQ(freshHandle(), before);
}

// Listed names pass verbatim: nothing below the root is settled, since
// settling strips a trailing dot or blank from every part. A path that
// Windows would settle or read as another one reaches nothing at all.
TEST(ExactPath, ReachesTheNameAsGiven) {
  using namespace std::string_literals;
  const struct {
    std::string in;
    const wchar_t* out;  // null: names nothing
  } cases[] = {
      {"C:\\Cache\\foo.", L"\\\\?\\C:\\Cache\\foo."},
      {"C:\\Cache\\bar ", L"\\\\?\\C:\\Cache\\bar "},
      {"C:\\Cache\\nul.txt", L"\\\\?\\C:\\Cache\\nul.txt"},
      {"C:\\Cache\\sub.\\x. \\f", L"\\\\?\\C:\\Cache\\sub.\\x. \\f"},
      {"C:\\Cache\\", L"\\\\?\\C:\\Cache\\"},
      {"C:\\", L"\\\\?\\C:\\"},
      {"C:/Cache/sub./f", nullptr},
      {"C:\\Cache\\..\\Cookies\\.\\c.txt", nullptr},
      {"C:\\Cache\\a\\.", nullptr},
      {"C:\\Cache\\a\\..", nullptr},
      {"C:\\.", nullptr},
      {"\\\\server\\share\\x.", L"\\\\?\\UNC\\server\\share\\x."},
      {"\\\\server\\share\\", L"\\\\?\\UNC\\server\\share\\"},
      {"\\\\\\share\\x", nullptr},
      {"\\\\server\\\\x", nullptr},
      {"\\\\.\\C:\\x.", nullptr},
      {"\\\\?\\C:\\as is.", L"\\\\?\\C:\\as is."},
      {"12345\\rel.dat", nullptr},
      {"C:rel.dat", nullptr},
      {"\\rel.dat", nullptr},
      {"C:\\x\0\\"s, nullptr},
      {"C:\\Zo\xC3\xAB\\\xE2\x98\x83", L"\\\\?\\C:\\Zo\u00EB\\\u2603"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(ExactPath(c.in), c.out ? std::optional<std::wstring>(c.out) : std::nullopt);
  }
}

TEST(Win32Desktop, TitlesCountUtf8BytesAndAreCutOnACharacter) {
  testing::TitledWindow window("Zo\xC3\xAB!");
  ASSERT_NE(window.handle(), 0u);
  Win32Desktop desktop;
  EXPECT_EQ(desktop.TitleLength(window.handle()), 5);
  std::string title;
  EXPECT_EQ(desktop.Title(window.handle(), title, 6), 5);
  EXPECT_EQ(title, "Zo\xC3\xAB!");
  EXPECT_EQ(desktop.Title(window.handle(), title, 4), 2) << "ë does not fit in 3 bytes";
  EXPECT_EQ(title, "Zo");
  EXPECT_TRUE(desktop.IsVisible(window.handle()));
  EXPECT_EQ(desktop.Owner(window.handle()), 0u);

  bool found = false;
  for (auto h = desktop.First(window.handle()); h && !found; h = desktop.Next(h))
    found = h == window.handle();
  EXPECT_TRUE(found) << "the z-order walk reaches the window";
}

// The program's own pump, with a wide interval so that a loaded machine
// cannot stretch the two back-to-back calls apart by a whole interval.
TEST(EventPump, PumpsAtMostOncePerInterval) {
  constexpr unsigned kProbe = 0x8000 + 7;  // WM_APP + 7
  constexpr std::uint64_t kInterval = 300;
  Win32Runtime pump(GetModuleHandleW(nullptr), kInterval);
  testing::PostToSelf(kProbe);
  pump.DoEvents();
  EXPECT_FALSE(testing::QueueHolds(kProbe)) << "the first call pumps";
  testing::PostToSelf(kProbe);
  pump.DoEvents();
  EXPECT_TRUE(testing::QueueHolds(kProbe)) << "too soon after the last pump";
  testing::SleepMs(kInterval + 50);
  pump.DoEvents();
  EXPECT_FALSE(testing::QueueHolds(kProbe));
}

// COM must be up on the thread that opens an address, and ended with the
// launcher; a fresh thread keeps the suite's own thread out of it.
TEST(Win32Launcher, AddressWithoutHandlerFailsQuietlyWithComReadyOnTheThread) {
  std::thread([] {
    {
      Win32Launcher launcher;
      EXPECT_FALSE(launcher.Open("veltrane-no-such-scheme:nothing", platform::kShowMinimizedWithFocus));
      EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE) << "already initialised";
      CoUninitialize();
    }
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK) << "ended with the launcher";
    CoUninitialize();
  }).join();
}

}  // namespace
}  // namespace veltrane::win32
