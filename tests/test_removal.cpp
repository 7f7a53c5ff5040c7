#include "erase/removal.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "actions_fixture.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kConfirm = "msgbox [Please confirm] Really delete all information? (OkCancel) -> Ok";

TEST(WipePasses, FollowTheWipeSettings) {
  struct Case {
    int check, index;
    std::optional<int> previous, expected;
  };
  const Case cases[] = {
      {1, 0, std::nullopt, 1}, {1, 1, std::nullopt, 3}, {1, 2, std::nullopt, 7},
      {1, 1, 7, 3},
      {1, -1, std::nullopt, std::nullopt}, {1, -1, 7, 7}, {1, 3, 1, 1}, {1, -2, 3, 3},
      {0, 2, 7, 0}, {0, -1, std::nullopt, 0}, {2, 1, 7, 0}, {-1, 0, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "check " << c.check << " index " << c.index << " previous "
                                      << c.previous.value_or(-99));
    EXPECT_EQ(WipePassesFor(c.check, c.index, c.previous), c.expected);
  }
}

TEST(RemovalSummary, IsSixLinesJoinedByFiveLineBreaks) {
  EXPECT_EQ(kRemovalSummary,
            "All data has been deleted!\r\n\r\nIt's possible that some files are always\r\n"
            "present in the cache / history directories.\r\n\r\n"
            "These files cannot be deleted because are locked by Windows.");
  std::size_t pairs = 0;
  for (std::size_t at = kRemovalSummary.find("\r\n"); at != std::string::npos; at = kRemovalSummary.find("\r\n", at + 2))
    ++pairs;
  EXPECT_EQ(pairs, 5u);
}

class RemovalTest : public ActionsTest {
 protected:
  void SetUp() override {
    SetProfileFolders();
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.AddFile(kCookies + name, "n\nv\nsite/\n");
    SetTypedUrls({{1, "u1"}, {2, "u2"}, {3, "u3"}});
    files.AddFile(kHistory + "h1", "x");
    files.AddFile(kCache + "c1", "x");
  }
  std::string SummaryShown() {
    if (!app.HasMsg() || !app.Msg().form().IsShown()) return "(no message window)";
    return app.Msg().form().Text(ids::Label_Msg);
  }
  void SetWipe(int check, int index) {
    mainForm->SetCheckValue(ids::Check_Wipe, check);
    mainForm->SetListIndex(ids::Combo_Pass, index);
  }
};

TEST_F(RemovalTest, ErasesEveryKindWithACounterShownBeforeEachErase) {
  Scan();
  const std::size_t mark = runtime.LogMark();
  Remove();
  const std::vector<std::string> expected = {
      kConfirm,
      "Veltrane: pointer 11",
      "Veltrane.Status_Cookies:  Erasing cookies (1)", "delete " + kCookies + "a.txt",
      "Veltrane.Status_Cookies:  Erasing cookies (2)", "delete " + kCookies + "b.txt",
      "Veltrane.Status_Cookies:  Erasing cookies (3)", "delete " + kCookies + "c.txt",
      "Veltrane.Status_Cookies:  Cookies erased",
      "Veltrane.Status_History:  Erasing typed urls (1)", "query Url1", "delete value Url1", "events",
      "Veltrane.Status_History:  Erasing typed urls (2)", "query Url2", "delete value Url2", "events",
      "Veltrane.Status_History:  Erasing typed urls (3)", "query Url3", "delete value Url3", "events",
      "Veltrane.Status_History:  Erasing typed urls (4)", "query Url4",
      "Veltrane.Status_History:  Erasing history files (1)", "delete " + kHistory + "h1",
      "Veltrane.Status_History:  Registry urls / History files erased",
      "Veltrane.Status_Cache:  Erasing cache files (1)", "delete " + kCache + "c1",
      "Veltrane.Status_Cache:  Cache files erased",
      "Veltrane: pointer 0",
      // The summary comes under the normal pointer.
      "Form1.Label_Msg: " + kRemovalSummary,
      "Form1: show",
  };
  EXPECT_EQ(Lines({"Veltrane:", "Veltrane.", "delete", "wipe", "query", "events", "msgbox", "Form1.Label_Msg", "Form1: show"},
                  mark),
            expected)
      << Dump();
  EXPECT_EQ(SummaryShown(), kRemovalSummary);
  EXPECT_FALSE(app.state.scanDone);
  EXPECT_EQ(app.state.wipePasses, 0);
  for (const std::string& path : {kCookies + "a.txt", kHistory + "h1", kCache + "c1"}) EXPECT_FALSE(files.Exists(path)) << path;
  // The lists still hold what was erased.
  EXPECT_EQ(app.state.cookieFiles.Count(), 3u);
}

// Without passes the file stages let no event run, yet each counter is put
// on the screen before its file goes: a long stage shows how far it is.
TEST_F(RemovalTest, WithoutPassesTheFileStagesPaintTheirCountersAndRunNoEvents) {
  files.AddFile(kCache + "c2", "x");
  Scan();
  const std::size_t mark = runtime.LogMark();
  Remove();
  std::vector<std::string> stage = Lines({"Veltrane.Status_", "delete " + kCache, "paint", "events"}, mark);
  stage.erase(stage.begin(), std::find(stage.begin(), stage.end(), "Veltrane.Status_Cache:  Erasing cache files (1)"));
  EXPECT_THAT(stage,
              ElementsAre("Veltrane.Status_Cache:  Erasing cache files (1)", "paint", "delete " + kCache + "c1",
                          "Veltrane.Status_Cache:  Erasing cache files (2)", "paint", "delete " + kCache + "c2",
                          "Veltrane.Status_Cache:  Cache files erased"))
      << Dump();
}

TEST_F(RemovalTest, WithoutAScanOnlyTheRefusalShows) {
  app.state.wipePasses = 3;
  mainForm->SetText(ids::Status_Cookies, "kept");
  const std::size_t mark = runtime.LogMark();
  Remove();
  EXPECT_THAT(Lines({"Veltrane:", "Veltrane.", "msgbox", "delete", "query"}, mark),
              ElementsAre("msgbox [Veltrane] Scan your system first! (OkOnly) -> Ok"));
  EXPECT_EQ(app.state.wipePasses, 3);
  EXPECT_EQ(Row(ids::Status_Cookies), "kept");
  EXPECT_FALSE(app.HasMsg());
}

TEST_F(RemovalTest, AfterACompleteRemovalTheNextOneIsRefused) {
  Scan();
  Remove();
  const std::size_t mark = runtime.LogMark();
  Remove();
  EXPECT_THAT(Lines({"msgbox", "Veltrane:", "Veltrane."}, mark),
              ElementsAre("msgbox [Veltrane] Scan your system first! (OkOnly) -> Ok"));
}

TEST_F(RemovalTest, CancelChangesNothing) {
  Scan();
  app.state.wipePasses = 3;
  SetWipe(1, 2);
  runtime.QueueAnswer(platform::kAnswerCancel);
  const std::size_t mark = runtime.LogMark();
  Remove();
  EXPECT_THAT(Lines({"Veltrane:", "Veltrane.", "msgbox", "delete", "query", "wipe"}, mark),
              ElementsAre("msgbox [Please confirm] Really delete all information? (OkCancel) -> Cancel"));
  EXPECT_EQ(app.state.wipePasses, 3);
  EXPECT_TRUE(app.state.scanDone);
  EXPECT_TRUE(files.Exists(kCookies + "a.txt"));
  EXPECT_TRUE(registry.HasValue(kTypedUrlsKey, "Url1"));
  EXPECT_FALSE(app.HasMsg());
}

TEST_F(RemovalTest, TheWipeSettingsAreReadWhenTheRemovalStarts) {
  struct Case {
    int check, index;
    std::optional<int> before, after;
  };
  const Case cases[] = {
      {1, 0, std::nullopt, 1}, {1, 1, 1, 3}, {1, 2, 3, 7}, {0, 2, 7, 0},
      {1, -1, std::nullopt, std::nullopt}, {1, -1, 7, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "check " << c.check << " index " << c.index);
    Scan();
    app.state.wipePasses = c.before;
    SetWipe(c.check, c.index);
    Remove();
    EXPECT_EQ(app.state.wipePasses, c.after);
  }
}

TEST_F(RemovalTest, WipePassesGoToEveryFile) {
  Scan();
  SetWipe(1, 1);
  const std::size_t mark = runtime.LogMark();
  Remove();
  // The counter stands before each file's wipe; the wipe runs 3 passes.
  std::vector<std::string> cookies = Lines({"Veltrane.Status_Cookies", "wipe " + kCookies}, mark);
  EXPECT_THAT(cookies, ElementsAre("Veltrane.Status_Cookies:  Erasing cookies (1)", "wipe " + kCookies + "a.txt",
                                   "Veltrane.Status_Cookies:  Erasing cookies (2)", "wipe " + kCookies + "b.txt",
                                   "Veltrane.Status_Cookies:  Erasing cookies (3)", "wipe " + kCookies + "c.txt",
                                   "Veltrane.Status_Cookies:  Cookies erased"));
  EXPECT_FALSE(files.Exists(kCookies + "a.txt"));
  EXPECT_FALSE(files.Exists(kCache + "c1"));
  EXPECT_EQ(files.WipeOpens(kCookies + "a.txt"), 1);
}

TEST_F(RemovalTest, EmptyListsShowOnlyTheFinalTexts) {
  files.Remove(kCookies);
  files.Remove(kHistory);
  files.Remove(kCache);
  registry.RemoveKey(kTypedUrlsKey);
  Scan();
  Remove();
  const auto& cookies = Texts(ids::Status_Cookies);
  EXPECT_THAT(std::vector<std::string>(cookies.end() - 2, cookies.end()),
              ElementsAre(" No cookies found", " Cookies erased"));
  const auto& history = Texts(ids::Status_History);
  EXPECT_THAT(std::vector<std::string>(history.end() - 2, history.end()),
              ElementsAre(" Erasing typed urls (1)", " Registry urls / History files erased"));
  const auto& cache = Texts(ids::Status_Cache);
  EXPECT_THAT(std::vector<std::string>(cache.end() - 2, cache.end()),
              ElementsAre(" No cache file found", " Cache files erased"));
}

// The removal ends its list by the scan's rule: the first value that is
// missing or reads as empty text; the values after it stay.
TEST_F(RemovalTest, TypedAddressesEndAtTheFirstGap) {
  struct Case {
    const char* name;
    std::function<void()> setUrl2;
    bool goesOn;  // past Url2, to Url3
  };
  const Case cases[] = {
      {"missing", [&] {}, false},
      {"stored without data", [&] { registry.SetString(kTypedUrlsKey, "Url2", "", false); }, false},
      {"a number counts as present", [&] { registry.SetDword(kTypedUrlsKey, "Url2", 9); }, true},
      {"the empty string counts as present", [&] { registry.SetString(kTypedUrlsKey, "Url2", ""); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry.RemoveKey(kTypedUrlsKey);
    SetTypedUrls({{1, "u1"}, {3, "u3"}});
    c.setUrl2();
    Scan();
    Remove();
    EXPECT_FALSE(registry.HasValue(kTypedUrlsKey, "Url1"));
    if (c.goesOn) {
      EXPECT_FALSE(registry.HasValue(kTypedUrlsKey, "Url2"));
    }
    EXPECT_EQ(registry.HasValue(kTypedUrlsKey, "Url3"), !c.goesOn);
  }
}

// A wipe pass lets events run inside the cache stage: a details request
// made there is still served, since ScanDone falls only after the stage's
// last file.
TEST_F(RemovalTest, ScanDoneFallsOnlyAfterTheCacheStagesLastFile) {
  Scan();
  SetWipe(1, 0);
  bool requested = false;
  for (int n = 1; n <= 60; ++n)
    runtime.QueueAt(FromNow(n), [&] {
      if (requested || Row(ids::Status_Cache) != " Erasing cache files (1)") return;
      requested = true;
      runtime.Click(*mainForm, ids::Status_History);
    });
  Remove();
  ASSERT_TRUE(requested) << "no events ran in the cache stage";
  for (const fake::MessageBoxCall& box : runtime.MessageBoxes()) EXPECT_NE(box.text, "Scan your system first!");
  ASSERT_TRUE(app.HasDetails());
  EXPECT_EQ(app.Details().form().Item(ids::List_Details, 0), "URLs found in registry:");
  EXPECT_FALSE(app.state.scanDone);
}

TEST_F(RemovalTest, MissingFoldersSkipTheirStages) {
  struct Case {
    const char* name;
    const char* missing;
    bool scanDoneAfter;
  };
  const Case cases[] = {
      {"Cookies missing", "Cookies", false},
      {"History missing", "History", false},
      {"Cache missing", "Cache", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    SetProfileFolders();
    registry.SetValue(kShellFoldersKey, c.missing, platform::kRegBinary, {1});
    Scan();
    const std::size_t mark = runtime.LogMark();
    Remove();
    const std::string missing = c.missing;
    EXPECT_EQ(files.Exists(kCookies + "a.txt"), missing == "Cookies");
    EXPECT_EQ(files.Exists(kHistory + "h1"), missing == "History");
    EXPECT_EQ(registry.HasValue(kTypedUrlsKey, "Url1"), missing == "History");
    EXPECT_EQ(files.Exists(kCache + "c1"), missing == "Cache");
    const int row = missing == "Cookies" ? ids::Status_Cookies : missing == "History" ? ids::Status_History : ids::Status_Cache;
    EXPECT_EQ(Row(row), "ERROR: registry key not found");
    EXPECT_EQ(app.state.scanDone, c.scanDoneAfter);
    if (missing == "History") {
      EXPECT_THAT(Lines({"query Url"}, mark), IsEmpty());
    }
    EXPECT_EQ(SummaryShown(), kRemovalSummary);
  }
}

TEST_F(RemovalTest, WithTheCacheFolderMissingASecondRemovalRunsWithoutAScan) {
  registry.SetValue(kShellFoldersKey, "Cache", platform::kRegBinary, {1});
  Scan();
  Remove();
  const std::size_t mark = runtime.LogMark();
  Remove();
  EXPECT_THAT(Lines({"msgbox"}, mark), ElementsAre(kConfirm));
  EXPECT_EQ(Row(ids::Status_Cookies), " Cookies erased");
}

TEST_F(RemovalTest, AllFoldersMissingStillSetsPassesAndShowsTheSummary) {
  registry.RemoveKey(kShellFoldersKey);
  Scan();
  SetWipe(1, 2);
  const std::size_t mark = runtime.LogMark();
  Remove();
  EXPECT_THAT(Lines({"Veltrane:", "Veltrane.", "delete", "query"}, mark),
              ElementsAre("Veltrane: pointer 11", "Veltrane: pointer 0"));
  EXPECT_EQ(app.state.wipePasses, 7);
  EXPECT_TRUE(app.state.scanDone);
  EXPECT_EQ(SummaryShown(), kRemovalSummary);
}

TEST_F(RemovalTest, ANestedScanIsSeenByTheLaterStages) {
  files.AddFile(kHistory + "h2", "x");
  Scan();
  // Before the removal's first typed-address event: the History tree changes
  // and the Cache folder's value disappears.
  files.Remove(kHistory + "h2");
  files.AddFile(kHistory + "h3", "x");
  const int k = FromNow(1);
  runtime.QueueAt(k, [&] { registry.SetValue(kShellFoldersKey, "Cache", platform::kRegBinary, {1}); });
  ScanAt(k);
  Remove();
  EXPECT_FALSE(files.Exists(kHistory + "h1"));
  EXPECT_FALSE(files.Exists(kHistory + "h3"));
  EXPECT_FALSE(registry.HasValue(kTypedUrlsKey, "Url2"));  // the outer loop went on
  // The cache stage read the folder path as the nested scan left it: "*".
  EXPECT_TRUE(files.Exists(kCache + "c1"));
  EXPECT_EQ(Row(ids::Status_Cache), "ERROR: registry key not found");
  EXPECT_TRUE(app.state.scanDone);
  EXPECT_EQ(mainForm->MousePointer(), platform::kPointerDefault);
}

TEST_F(RemovalTest, PositionsPastTheListsNewEndAreSkipped) {
  Scan();
  files.Remove(kCookies + "b.txt");
  files.Remove(kCookies + "c.txt");
  SetWipe(1, 0);
  // The first event of the wipe of a.txt: a scan that finds one cookie file.
  ScanAt(FromNow(1));
  const std::size_t mark = runtime.LogMark();
  Remove();
  EXPECT_THAT(Lines({"Veltrane.Status_Cookies", "wipe " + kCookies}, mark),
              ElementsAre("Veltrane.Status_Cookies:  Erasing cookies (1)", "wipe " + kCookies + "a.txt",
                          // the nested scan's texts
                          "Veltrane.Status_Cookies: ", "Veltrane.Status_Cookies:  Scanning hard disk... please wait...",
                          "Veltrane.Status_Cookies:  Processing files: 0", "Veltrane.Status_Cookies:  Found: 1 cookies",
                          "Veltrane.Status_Cookies:  Erasing cookies (2)", "Veltrane.Status_Cookies:  Erasing cookies (3)",
                          "Veltrane.Status_Cookies:  Cookies erased"));
  EXPECT_FALSE(files.Exists(kCookies + "a.txt"));
}

TEST_F(RemovalTest, ANestedRemovalRunsToItsEndFirst) {
  Scan();
  RemoveAt(FromNow(1));  // after Url1 was deleted
  const std::size_t mark = runtime.LogMark();
  Remove();
  std::vector<std::string> lines = Lines({"msgbox", "Veltrane: pointer", "Veltrane.Status_History:  Reg"}, mark);
  EXPECT_THAT(lines, ElementsAre(kConfirm, "Veltrane: pointer 11", kConfirm, "Veltrane: pointer 11",
                                 "Veltrane.Status_History:  Registry urls / History files erased",
                                 "Veltrane: pointer 0",
                                 "Veltrane.Status_History:  Registry urls / History files erased",
                                 "Veltrane: pointer 0"));
  EXPECT_FALSE(registry.HasValue(kTypedUrlsKey, "Url3"));
  EXPECT_FALSE(app.state.scanDone);
  EXPECT_EQ(SummaryShown(), kRemovalSummary);
}

TEST_F(RemovalTest, ClosingTheMainWindowEndsTheProgramMidRemoval) {
  Scan();
  runtime.QueueClose(FromNow(1), kMainName);
  EXPECT_THROW(Remove(), fake::ProgramEnded);
  EXPECT_TRUE(registry.HasValue(kTypedUrlsKey, "Url2"));
  EXPECT_TRUE(files.Exists(kHistory + "h1"));
  EXPECT_EQ(mainForm->MousePointer(), platform::kPointerHourglass);
  EXPECT_FALSE(app.HasMsg());
}

}  // namespace
}  // namespace veltrane::testing
