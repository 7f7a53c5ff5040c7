#include "scan/trace_scan.h"

#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "actions_fixture.h"
#include "scan/folder_path.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kKeyNotFound = "ERROR: registry key not found";
const std::string kScanningDisk = " Scanning hard disk... please wait...";

std::vector<std::string> Entries(const TraceList& list) {
  std::vector<std::string> out;
  for (std::size_t i = 1; i <= list.Count(); ++i) out.push_back(list[i]);
  return out;
}

TEST(FolderPathRule, TurnsAShellFolderValueIntoAFolderPath) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    RegValue value;
    std::string expected;
  };
  const Case cases[] = {
      {"nothing", RegValue{}, "*"},
      {"empty text", ""s, "*"},
      {"lone NUL", "\0"s, "*"},
      {"one character and NUL", "C\0"s, "*"},
      {"one character, no NUL", "C"s, "*"},
      {"one non-ASCII character and NUL", "\xC3\xA9\0"s, "*"},
      {"one non-ASCII character, no NUL", "\xC3\xA9"s, "*"},
      {"one character beyond 16 bits and NUL", "\xF0\x9D\x84\x9E\0"s, "*"},
      {"two non-ASCII characters and NUL", "\xC3\xA9\xC3\xBC\0"s, "*"},
      {"drive and NUL", "C:\0"s, "C:\\"},
      {"folder and NUL", "C:\\x\0"s, "C:\\x\\"},
      {"folder ending in a backslash", "C:\\x\\\0"s, "C:\\x\\"},
      {"folder without NUL", "C:\\x"s, "C:\\x\\"},
      {"two NULs", "C:\\x\0\0"s, "C:\\x\\"},
      {"a NUL inside", "C:\\x\0y\\z\0"s, "C:\\x\\"},
      {"only a NUL in front", "\0C:\\x\0"s, "*"},
      {"backslash alone", "\\\0"s, "*"},
      {"two backslashes", "\\\\"s, "*"},
      {"number", std::int32_t{42}, "*"},
      {"five-digit number", std::int32_t{12345}, "*"},
      {"one-digit number", std::int32_t{7}, "*"},
      {"negative number", std::int32_t{-1}, "*"},
      {"relative name", "Cache\0"s, "*"},
      {"relative path", "x\\y\0"s, "*"},
      {"root of the working drive", "\\Cache\0"s, "*"},
      {"working folder of a drive", "C:Cache\0"s, "*"},
      {"share", "\\\\server\\share\0"s, "\\\\server\\share\\"},
      {"server alone", "\\\\server\0"s, "*"},
      {"empty server", "\\\\\\share\\x\0"s, "*"},
      {"empty share", "\\\\server\\\\x\0"s, "*"},
      {"forward slashes", "C:/Cache/sub./\0"s, "C:\\Cache\\sub.\\"},
      {"forward slashes to a share", "//server/share/x\0"s, "\\\\server\\share\\x\\"},
      {"steps", "C:\\a\\..\\b\\.\\c\0"s, "C:\\b\\c\\"},
      {"step above the drive root", "C:\\..\\x\0"s, "C:\\x\\"},
      {"step above the share", "\\\\server\\share\\..\\x\0"s, "\\\\server\\share\\x\\"},
      {"doubled backslash", "C:\\a\\\\b\\\\\0"s, "C:\\a\\b\\"},
      {"trailing dots and blanks kept", "C:\\x \\y.\\z..\0"s, "C:\\x \\y.\\z..\\"},
      {"device path", "\\\\.\\C:\\x.\\..\\y.\0"s, "\\\\?\\C:\\y.\\"},
      {"exact path", "\\\\?\\C:\\x\0"s, "\\\\?\\C:\\x\\"},
      {"exact path to a share", "\\\\?\\UNC\\server\\share\\x\0"s, "\\\\?\\UNC\\server\\share\\x\\"},
      {"device other than a drive", "\\\\.\\pipe\\x\0"s, "*"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FolderPathFromValue(c.value), c.expected);
  }
}

class TraceScanTest : public ActionsTest {};

TEST_F(TraceScanTest, LetsEventsRunAtTheSevenPointsOnly) {
  SetProfileFolders();
  files.AddFile(kCookies + "a.txt", "");
  files.AddFile(kCookies + "b.dat", "");
  files.AddFile(kCookies + "C.TXT", "");
  SetTypedUrls({{1, "http://one/"}, {2, "http://two/"}});
  files.AddFile(kHistory + "h1", "");
  files.AddFile(kHistory + "h2", "");
  const std::size_t mark = runtime.LogMark();

  Scan();

  // Between "list" and the next row text, the events are the walk's own.
  const std::vector<std::string> expected = {
      "Veltrane: pointer 11",
      "Veltrane.Status_History: ",
      "Veltrane.Status_Cache: ",
      "Veltrane.Status_Cookies: ",
      "Veltrane.Status_Cookies:  Scanning hard disk... please wait...",
      "events",  // 1
      "list " + kCookies + " 0", "events", "events", "events",
      "Veltrane.Status_Cookies:  Processing files: 2",
      "events",  // 2
      "Veltrane.Status_Cookies:  Processing files: 1",
      "events",
      "Veltrane.Status_Cookies:  Processing files: 0",
      "events",
      "Veltrane.Status_Cookies:  Found: 2 cookies",
      "Veltrane.Status_History:  Scanning registry... please wait...",
      "query Url1", "events",  // 3
      "query Url2", "events",
      "query Url3",
      "Veltrane.Status_History:  Scanning hard disk... please wait...",
      "events",  // 4
      "list " + kHistory + " 20", "events", "events", "events", "events", "events",
      "Veltrane.Status_History:  Processing directory... (0)",
      "events", "events",  // the files the tree walk's listing saw
      "events",  // 5
      "Veltrane.Status_History:  Found: 2 URL - 2 Files",
      "Veltrane.Status_Cache:  Scanning hard disk... please wait...",
      "events",  // 6
      "list " + kCache + " 20", "events", "events", "events",
      "Veltrane.Status_Cache:  Processing directory... (0)",
      "events",  // 7
      "Veltrane.Status_Cache:  No cache file found",
      "Veltrane: pointer 0",
  };
  EXPECT_EQ(Lines({"Veltrane:", "Veltrane.", "events", "list", "query Url"}, mark), expected) << Dump();
  EXPECT_TRUE(app.state.scanDone);
}

TEST_F(TraceScanTest, FindsCookiesTypedAddressesAndBothTrees) {
  SetProfileFolders();
  for (const char* name : {"a.txt", "B.TXT", "index.dat", "c.Txt", "notes.txt.bak"})
    files.AddFile(kCookies + name, "x");
  files.AddFile(kCookies + "hidden.txt", "x", platform::kAttrArchive | platform::kAttrHidden);
  files.AddFile(kCookies + "system.txt", "x", platform::kAttrArchive | platform::kAttrSystem);
  files.AddFile(kCookies + "sub\\deep.txt", "x");
  SetTypedUrls({{1, "a"}, {2, "b"}, {4, "d"}});
  files.AddFile(kHistory + "root.dat", "x");
  files.AddFile(kHistory + "A\\a1", "x");
  files.AddFile(kHistory + "A\\a2", "x");
  files.AddFile(kHistory + "B\\b1", "x");
  files.AddFolder(kHistory + "RO", platform::kAttrDirectory | platform::kAttrReadOnly);
  files.AddFile(kHistory + "RO\\skipped", "x");
  files.AddFile(kCache + "X\\Y\\c1", "x");

  Scan();

  EXPECT_THAT(Entries(app.state.cookieFiles),
              ElementsAre(kCookies + "a.txt", kCookies + "B.TXT", kCookies + "c.Txt"));
  EXPECT_THAT(Entries(app.state.historyFiles),
              ElementsAre(kHistory + "root.dat", kHistory + "A\\a1", kHistory + "A\\a2", kHistory + "B\\b1"));
  EXPECT_THAT(Entries(app.state.cacheFiles), ElementsAre(kCache + "X\\Y\\c1"));
  EXPECT_EQ(app.state.cookiesPath, kCookies);
  EXPECT_EQ(app.state.historyPath, kHistory);
  EXPECT_EQ(app.state.cachePath, kCache);

  EXPECT_THAT(Texts(ids::Status_Cookies), ElementsAre("", kScanningDisk, " Processing files: 4",
                                                      " Processing files: 3", " Processing files: 2",
                                                      " Processing files: 1", " Processing files: 0",
                                                      " Found: 3 cookies"));
  EXPECT_THAT(Texts(ids::Status_History),
              ElementsAre("", " Scanning registry... please wait...", kScanningDisk,
                          " Processing directory... (0)", " Processing directory... (1)",
                          " Processing directory... (3)", " Found: 2 URL - 4 Files"));
  EXPECT_THAT(Texts(ids::Status_Cache),
              ElementsAre("", kScanningDisk, " Processing directory... (0)", " Processing directory... (0)",
                          " Processing directory... (0)", " Found: 1 files"));
  EXPECT_EQ(mainForm->MousePointer(), platform::kPointerDefault);
  EXPECT_TRUE(app.state.scanDone);
}

TEST_F(TraceScanTest, EmptyFoldersGiveTheirNothingFoundTexts) {
  SetProfileFolders();

  Scan();

  // Nothing listed: no file is counted down.
  EXPECT_THAT(Texts(ids::Status_Cookies), ElementsAre("", kScanningDisk, " No cookies found"));
  EXPECT_THAT(Texts(ids::Status_History),
              ElementsAre("", " Scanning registry... please wait...", kScanningDisk,
                          " Processing directory... (0)", " Found: 0 URL - 0 Files"));
  EXPECT_THAT(Texts(ids::Status_Cache),
              ElementsAre("", kScanningDisk, " Processing directory... (0)", " No cache file found"));

  // One file listed, no cookie among them: counted down to 0.
  files.AddFile(kCookies + "index.dat", "x");
  const std::size_t mark = runtime.LogMark();
  Scan();
  EXPECT_THAT(Lines({"Veltrane.Status_Cookies"}, mark),
              ElementsAre("Veltrane.Status_Cookies: ", "Veltrane.Status_Cookies: " + kScanningDisk,
                          "Veltrane.Status_Cookies:  Processing files: 0",
                          "Veltrane.Status_Cookies:  No cookies found"));
}

TEST_F(TraceScanTest, OneCookieAndOneCacheFileHaveNoSingularForm) {
  SetProfileFolders();
  files.AddFile(kCookies + "one.txt", "x");
  files.AddFile(kCache + "one", "x");
  Scan();
  EXPECT_EQ(Row(ids::Status_Cookies), " Found: 1 cookies");
  EXPECT_EQ(Row(ids::Status_Cache), " Found: 1 files");
}

TEST_F(TraceScanTest, CountsTypedAddressesUpToTheEndRule) {
  struct Case {
    const char* name;
    std::function<void(fake::FakeRegistry&)> setUp;
    int count;
    int lastRead;  // the value whose read ended the list
  };
  const Case cases[] = {
      {"no key", [](fake::FakeRegistry&) {}, 0, 1},
      {"1, 2 and 4 present", [](fake::FakeRegistry& r) {
         for (int n : {1, 2, 4}) r.SetString(kTypedUrlsKey, TypedUrlName(n), "u");
       }, 2, 3},
      {"1 missing, 2 present", [](fake::FakeRegistry& r) { r.SetString(kTypedUrlsKey, "Url2", "u"); }, 0, 1},
      {"1 holds the empty string", [](fake::FakeRegistry& r) { r.SetString(kTypedUrlsKey, "Url1", ""); }, 1, 2},
      {"1 stored without data", [](fake::FakeRegistry& r) { r.SetString(kTypedUrlsKey, "Url1", "", false); }, 0, 1},
      {"1 a number", [](fake::FakeRegistry& r) { r.SetDword(kTypedUrlsKey, "Url1", 5); }, 1, 2},
      {"2 of an unread type", [](fake::FakeRegistry& r) {
         r.SetString(kTypedUrlsKey, "Url1", "u");
         r.SetValue(kTypedUrlsKey, "Url2", platform::kRegExpandSz, {'x', 0});
         r.SetString(kTypedUrlsKey, "Url3", "u");
       }, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry.RemoveKey(kTypedUrlsKey);
    SetProfileFolders();
    c.setUp(registry);
    const std::size_t mark = runtime.LogMark();
    Scan();
    EXPECT_EQ(Row(ids::Status_History), " Found: " + std::to_string(c.count) + " URL - 0 Files");
    std::vector<std::string> expected;
    for (int n = 1; n <= c.lastRead; ++n) {
      expected.push_back("query Url" + std::to_string(n));
      if (n < c.lastRead) expected.push_back("events");
    }
    std::vector<std::string> reads = Lines({"query Url", "events", "Veltrane.Status_History:  Scanning hard"}, mark);
    // From the registry stage up to the History walk.
    auto first = std::find(reads.begin(), reads.end(), "query Url1");
    auto end = std::find(reads.begin(), reads.end(), "Veltrane.Status_History:  Scanning hard disk... please wait...");
    EXPECT_EQ(std::vector<std::string>(first, end), expected);
  }
}

TEST_F(TraceScanTest, MissingFoldersShowTheErrorAndSkipTheirStage) {
  struct Case {
    const char* name;
    bool cookies, history, cache;
  };
  const Case cases[] = {
      {"all three missing", false, false, false},
      {"History missing", true, false, true},
      {"Cookies missing", false, true, true},
      {"Cache missing", true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry.RemoveKey(kShellFoldersKey);
    SetTypedUrls({{1, "u"}});
    files.AddFile(kCookies + "a.txt", "x");
    files.AddFile(kHistory + "h", "x");
    files.AddFile(kCache + "c", "x");
    if (c.cookies) registry.SetString(kShellFoldersKey, "Cookies", kProfile + "Cookies");
    if (c.history) registry.SetString(kShellFoldersKey, "History", kProfile + "History");
    if (c.cache) registry.SetString(kShellFoldersKey, "Cache", kProfile + "Cache");
    app.state.scanDone = false;
    const std::size_t mark = runtime.LogMark();

    Scan();

    EXPECT_EQ(app.state.cookiesPath, c.cookies ? kCookies : "*");
    EXPECT_EQ(app.state.historyPath, c.history ? kHistory : "*");
    EXPECT_EQ(app.state.cachePath, c.cache ? kCache : "*");
    EXPECT_EQ(app.state.cookieFiles.Count(), c.cookies ? 1u : 0u);
    EXPECT_EQ(app.state.historyFiles.Count(), c.history ? 1u : 0u);
    EXPECT_EQ(app.state.cacheFiles.Count(), c.cache ? 1u : 0u);
    if (!c.cookies) {
      EXPECT_THAT(Lines({"Veltrane.Status_Cookies"}, mark),
                  ElementsAre("Veltrane.Status_Cookies: ", "Veltrane.Status_Cookies: " + kKeyNotFound));
    }
    if (!c.history) {
      EXPECT_THAT(Lines({"Veltrane.Status_History"}, mark),
                  ElementsAre("Veltrane.Status_History: ", "Veltrane.Status_History: " + kKeyNotFound));
      EXPECT_THAT(Lines({"query Url"}, mark), IsEmpty());
    }
    if (!c.cache) {
      EXPECT_THAT(Lines({"Veltrane.Status_Cache"}, mark),
                  ElementsAre("Veltrane.Status_Cache: ", "Veltrane.Status_Cache: " + kKeyNotFound));
    }
    if (!c.cookies && !c.history && !c.cache) {
      EXPECT_THAT(Lines({"events"}, mark), IsEmpty());
    }
    EXPECT_TRUE(app.state.scanDone);
    EXPECT_EQ(mainForm->MousePointer(), platform::kPointerDefault);
  }
}

TEST_F(TraceScanTest, ShortAndOddShellFolderValues) {
  registry.SetString(kShellFoldersKey, "Cookies", "C:");            // two characters: C:\ .
  registry.SetString(kShellFoldersKey, "History", "H");             // one character: not found
  registry.SetValue(kShellFoldersKey, "Cache", platform::kRegExpandSz, {'C', ':', 0});
  files.AddFile("C:\\top.txt", "x");
  Scan();
  EXPECT_EQ(app.state.cookiesPath, "C:\\");
  EXPECT_EQ(app.state.historyPath, "*");
  EXPECT_EQ(app.state.cachePath, "*");
  EXPECT_THAT(Entries(app.state.cookieFiles), ElementsAre("C:\\top.txt"));
}

TEST_F(TraceScanTest, TheCacheRowStaysEmptyDuringTheHistoryStage) {
  SetProfileFolders();
  files.AddFile(kHistory + "h", "x");
  std::vector<std::string> cacheRowSeen;
  for (int k = 1; k <= 40; ++k)
    runtime.QueueAt(k, [&] {
      if (Row(ids::Status_History).size() > 0 && Row(ids::Status_History).rfind(" Found", 0) != 0)
        cacheRowSeen.push_back(Row(ids::Status_Cache));
    });
  Scan();
  ASSERT_FALSE(cacheRowSeen.empty());
  for (const std::string& row : cacheRowSeen) EXPECT_EQ(row, "");
}

TEST_F(TraceScanTest, ASecondScanRebuildsEveryList) {
  SetProfileFolders();
  files.AddFile(kCookies + "a.txt", "x");
  files.AddFile(kCookies + "b.txt", "x");
  files.AddFile(kHistory + "h", "x");
  files.AddFile(kCache + "c", "x");
  Scan();
  files.Remove(kCookies + "a.txt");
  files.Remove(kCache + "c");
  Scan();
  EXPECT_THAT(Entries(app.state.cookieFiles), ElementsAre(kCookies + "b.txt"));
  EXPECT_THAT(Entries(app.state.historyFiles), ElementsAre(kHistory + "h"));
  EXPECT_THAT(Entries(app.state.cacheFiles), IsEmpty());
  EXPECT_EQ(Row(ids::Status_Cache), " No cache file found");
}

// Listing a folder is what a scan costs under Wine, so each folder is listed
// once: the tree walk's listing also gives the files of each folder.
TEST_F(TraceScanTest, ListsEachFolderOnce) {
  SetProfileFolders();
  files.AddFile(kCookies + "a.txt", "x");
  files.AddFile(kHistory + "A\\a1", "x");
  files.AddFolder(kHistory + "A\\B\\");
  files.AddFolder(kHistory + "S\\", platform::kAttrDirectory | platform::kAttrSystem);
  files.AddFolder(kHistory + "H\\", platform::kAttrDirectory | platform::kAttrHidden);
  files.AddFile(kCache + "X\\c1", "x");
  for (int scan = 1; scan <= 2; ++scan) {
    SCOPED_TRACE(::testing::Message() << "scan " << scan);
    const std::size_t before = files.ListCalls().size();
    Scan();
    std::map<std::string, int> lists;
    for (std::size_t i = before; i < files.ListCalls().size(); ++i) ++lists[files.ListCalls()[i].folder];
    const std::map<std::string, int> expected = {
        {kCookies, 1},           {kHistory, 1},      {kHistory + "A\\", 1}, {kHistory + "A\\B\\", 1},
        {kHistory + "S\\", 1}, {kCache, 1},        {kCache + "X\\", 1}};
    EXPECT_EQ(lists, expected);
    EXPECT_THAT(Entries(app.state.historyFiles), ElementsAre(kHistory + "A\\a1"));
    EXPECT_THAT(Entries(app.state.cacheFiles), ElementsAre(kCache + "X\\c1"));
  }
}

// --- clicks handled while the scan lets events run

class NestedInScanTest : public ActionsTest {
 protected:
  void SetUp() override {
    SetProfileFolders();
    files.AddFile(kCookies + "a.txt", "x");
    files.AddFile(kCookies + "b.txt", "x");
    SetTypedUrls({{1, "u1"}});
    files.AddFile(kHistory + "h", "x");
    files.AddFile(kCache + "c", "x");
  }
};

TEST_F(NestedInScanTest, ASecondScanDuringAScanIsIgnored) {
  // Every point of the scan gets a scan click; none may disturb it.
  for (int k = 1; k <= 60; ++k) ScanAt(k);
  Scan();
  EXPECT_THAT(Entries(app.state.cookieFiles), ElementsAre(kCookies + "a.txt", kCookies + "b.txt"));
  EXPECT_THAT(Entries(app.state.historyFiles), ElementsAre(kHistory + "h"));
  EXPECT_THAT(Entries(app.state.cacheFiles), ElementsAre(kCache + "c"));
  EXPECT_EQ(Row(ids::Status_Cookies), " Found: 2 cookies");
  EXPECT_EQ(Row(ids::Status_History), " Found: 1 URL - 1 Files");
  EXPECT_EQ(Row(ids::Status_Cache), " Found: 1 files");
  // Only one scan ran: one clearing of the rows.
  EXPECT_EQ(std::count(Texts(ids::Status_Cookies).begin(), Texts(ids::Status_Cookies).end(), ""), 1);
  EXPECT_FALSE(app.state.scanRunning);
  // A later scan runs again.
  Scan();
  EXPECT_EQ(std::count(Texts(ids::Status_Cookies).begin(), Texts(ids::Status_Cookies).end(), ""), 2);
}

TEST_F(NestedInScanTest, ARemovalBeforeAnyScanIsRefusedBecauseScanDoneIsStillFalse) {
  RemoveAt(FromNow(1));
  Scan();
  ASSERT_EQ(runtime.MessageBoxes().size(), 1u);
  EXPECT_EQ(runtime.MessageBoxes()[0].text, "Scan your system first!");
  EXPECT_TRUE(files.Exists(kCookies + "a.txt"));
  EXPECT_TRUE(app.state.scanDone);
}

TEST_F(NestedInScanTest, ARemovalAfterAnEarlierScanWorksOnTheListsAsFarAsRebuilt) {
  Scan();
  const int k = FromNow(1);  // right after " Scanning hard disk..." of the cookie stage
  RemoveAt(k);
  const std::size_t mark = runtime.LogMark();
  Scan();
  // The lists were emptied and not rebuilt yet: nothing was erased, though
  // the typed addresses (read from the registry) went.
  EXPECT_TRUE(files.Exists(kCookies + "a.txt"));
  EXPECT_TRUE(files.Exists(kHistory + "h"));
  EXPECT_TRUE(files.Exists(kCache + "c"));
  EXPECT_FALSE(registry.HasValue(kTypedUrlsKey, "Url1"));
  // The outer scan carried on and ended as usual.
  EXPECT_EQ(Row(ids::Status_Cookies), " Found: 2 cookies");
  EXPECT_EQ(Row(ids::Status_History), " Found: 0 URL - 1 Files");
  EXPECT_EQ(Row(ids::Status_Cache), " Found: 1 files");
  EXPECT_TRUE(app.state.scanDone);
  EXPECT_THAT(Lines({"Veltrane: pointer"}, mark),
              ElementsAre("Veltrane: pointer 11", "Veltrane: pointer 11", "Veltrane: pointer 0",
                          "Veltrane: pointer 0"));
  ASSERT_TRUE(app.HasMsg());
  EXPECT_EQ(app.Msg().form().Text(ids::Label_Msg), kRemovalSummary);
}

TEST_F(NestedInScanTest, ARemovalMidScanErasesWhatIsRebuiltAndClearsScanDoneOnlyForItsCacheStage) {
  Scan();
  // The fourth point from now is the second " Processing files" step: the
  // first cookie file is listed again, the History list is still empty.
  RemoveAt(FromNow(4));
  Scan();
  EXPECT_FALSE(files.Exists(kCookies + "a.txt"));
  EXPECT_TRUE(files.Exists(kCookies + "b.txt"));
  EXPECT_TRUE(files.Exists(kHistory + "h"));
  // The outer scan sets ScanDone at its end, after the removal cleared it.
  EXPECT_TRUE(app.state.scanDone);
}

TEST_F(NestedInScanTest, ADetailsRequestSeesTheCookieListAsFarAsRebuilt) {
  files.AddFile(kCookies + "a.txt", "n\nv\nfirst.com/\n");
  files.AddFile(kCookies + "b.txt", "n\nv\nsecond.com/\n");
  Scan();
  // 1 = after " Scanning hard disk", 2 and 3 = inside the listing, 4 = after
  // the first entry was examined.
  DetailsAt(FromNow(4), ids::Status_Cookies);
  Scan();
  fake::FakeForm* details = runtime.FindForm(kDetailsName);
  ASSERT_NE(details, nullptr);
  std::vector<std::string> lines;
  for (int i = 0; i < details->ItemCount(ids::List_Details); ++i) lines.push_back(details->Item(ids::List_Details, i));
  EXPECT_THAT(lines, ElementsAre("Domains that have saved a cookie on your HD:", "", "first.com"));
}

TEST_F(NestedInScanTest, ADetailsRequestBeforeAnyScanIsRefused) {
  DetailsAt(FromNow(1), ids::Status_History);
  Scan();
  ASSERT_EQ(runtime.MessageBoxes().size(), 1u);
  EXPECT_EQ(runtime.MessageBoxes()[0].text, "Scan your system first!");
  EXPECT_EQ(runtime.MessageBoxes()[0].title, "Veltrane");
  ASSERT_NE(runtime.FindForm(kDetailsName), nullptr);  // created, never shown
  EXPECT_FALSE(runtime.FindForm(kDetailsName)->IsShown());
}

TEST_F(NestedInScanTest, ClosingTheMainWindowEndsTheProgramMidScan) {
  runtime.QueueClose(FromNow(2), kMainName);
  EXPECT_THROW(Scan(), fake::ProgramEnded);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_FALSE(app.state.scanDone);
  EXPECT_EQ(Row(ids::Status_History), "");  // the scan never got there
  EXPECT_THAT(Lines({"end", "Veltrane:", "Veltrane."}).back(), "end");
}

}  // namespace
}  // namespace veltrane::testing
