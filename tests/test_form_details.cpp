#include "windows/form_details.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "actions_fixture.h"
#include "windows/form_details_design.h"

namespace veltrane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kCookieHeading = "Domains that have saved a cookie on your HD:";
const std::string kUrlHeading = "URLs found in registry:";
const std::string kListLine = kDetailsName + ".List_Details: ";

TEST(DetailsDesign, IsTheFixedLayout) {
  const platform::FormDesign& d = DetailsDesign();
  EXPECT_EQ(d.caption, "Veltrane - Details");
  EXPECT_EQ(d.clientWidth, 4920);
  EXPECT_EQ(d.clientHeight, 3750);
  EXPECT_EQ(d.background, platform::Art::Background);
  EXPECT_FALSE(d.icon);
  EXPECT_TRUE(d.closeHides);
  struct Row {
    int id;
    platform::ControlKind kind;
    int left, top, width, height;
    std::string text;
    platform::Cursor cursor;
  };
  const Row rows[] = {
      {ids::Details_Shape1, platform::ControlKind::Shape, 60, 60, 4815, 3645, "", platform::Cursor::Arrow},
      {ids::List_Details, platform::ControlKind::ListBox, 120, 120, 4695, 3180, "", platform::Cursor::Arrow},
      {ids::Details_Command_Close, platform::ControlKind::Button, 1560, 3360, 1815, 255, "CLOSE",
       platform::Cursor::Hand},
  };
  ASSERT_EQ(d.controls.size(), std::size(rows));
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE(rows[i].id);
    const platform::ControlDesign& c = d.controls[i];
    EXPECT_EQ(c.id, rows[i].id);
    EXPECT_EQ(c.kind, rows[i].kind);
    EXPECT_EQ(std::vector<int>({c.left, c.top, c.width, c.height}),
              std::vector<int>({rows[i].left, rows[i].top, rows[i].width, rows[i].height}));
    EXPECT_EQ(c.text, rows[i].text);
    EXPECT_EQ(c.cursor, rows[i].cursor);
    EXPECT_EQ(c.container, 0);
  }
  // The frame: a white outline, 2 pixels, nothing filled.
  EXPECT_EQ(d.controls[0].fore, 0xFFFFFFu);
  EXPECT_EQ(d.controls[0].border, 2);
  EXPECT_EQ(d.controls[0].back, platform::kTransparent);
}

class FormDetailsTest : public ActionsTest {
 protected:
  void SetUp() override { SetProfileFolders(); }

  fake::FakeForm& Window() {
    fake::FakeForm* form = runtime.FindForm(kDetailsName);
    if (!form) throw std::logic_error("no details window");
    return *form;
  }
  std::vector<std::string> List() {
    std::vector<std::string> out;
    for (int i = 0; i < Window().ItemCount(ids::List_Details); ++i) out.push_back(Window().Item(ids::List_Details, i));
    return out;
  }
  void Request(int id) { runtime.Click(*mainForm, id); }
};

TEST_F(FormDetailsTest, BeforeAnyScanTheRequestIsRefused) {
  for (int id : {ids::Status_Cookies, ids::Status_History}) {
    SCOPED_TRACE(id);
    const std::size_t mark = runtime.LogMark();
    Request(id);
    EXPECT_THAT(Lines({"msgbox", kDetailsName}, mark),
                ElementsAre("msgbox [Veltrane] Scan your system first! (OkOnly) -> Ok"));
    EXPECT_FALSE(Window().IsShown());  // created by the request, never shown
  }
}

TEST_F(FormDetailsTest, AfterARemovalAnOpenWindowKeepsItsList) {
  SetTypedUrls({{1, "http://a/"}});
  Scan();
  Request(ids::Status_History);
  Remove();
  const std::size_t mark = runtime.LogMark();
  Request(ids::Status_Cookies);
  EXPECT_THAT(Lines({"msgbox", kDetailsName}, mark),
              ElementsAre("msgbox [Veltrane] Scan your system first! (OkOnly) -> Ok"));
  EXPECT_TRUE(Window().IsShown());
  EXPECT_THAT(List(), ElementsAre(kUrlHeading, "", "http://a/"));
}

TEST_F(FormDetailsTest, ListsOneDomainLinePerCookieFile) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::vector<std::string> contents;  // one cookie file each, in listing order
    std::vector<std::string> expected;  // the lines after the heading and the empty line
  };
  const std::string browserForm =
      "id\nabc\nexample.com/\n1024\n1\n2\n3\n4\n*\nother\nx\nads.example.net/\n0\n1\n2\n3\n4\n*\n";
  const Case cases[] = {
      {"no cookie files", {}, {"No cookies found"}},
      {"browser form", {browserForm}, {"example.com"}},
      {"empty files", {"", ""}, {"No cookies found"}},
      {"CR LF line ends", {"a\r\nb\r\nc\r\n"}, {"No cookies found"}},
      {"first line short, second usable", {"a\nb\rx\ny\nsecond.org/p/\n"}, {"second.org/p"}},
      {"two slashes keep one", {"a\nb\nhost//\n"}, {"host/"}},
      {"no slash", {"a\nb\nhost\n"}, {"host"}},
      {"slash alone: an empty line, and no 'nothing found'", {"a\nb\n/\n"}, {""}},
      {"empty third field", {"a\nb\n\n"}, {""}},
      {"equal domains stay apart", {"a\nb\nsame.com/\n", "c\nd\nsame.com/\n"}, {"same.com", "same.com"}},
      {"binary junk", {"\x01\x02\xff\xfe\x00\x00"s}, {"No cookies found"}},
      {"the line shows up to a NUL", {"a\nb\nbefore\0after/\n"s}, {"before"}},
      {"8-bit characters", {"a\nb\ncaf\xe9.fr/\n"}, {"caf\xc3\xa9.fr"}},
      {"the last 7-bit and the first 8-bit character", {"a\nb\n\x7f\x80/\n"}, {"\x7f\xc2\x80"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    files.Remove(kCookies);
    files.AddFolder(kCookies);
    for (std::size_t i = 0; i < c.contents.size(); ++i)
      files.AddFile(kCookies + "c" + std::to_string(i) + ".txt", c.contents[i]);
    Scan();
    Request(ids::Status_Cookies);
    std::vector<std::string> expected = {kCookieHeading, ""};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(List(), expected);
    EXPECT_TRUE(Window().IsShown());
    EXPECT_EQ(Window().Focus(), ids::List_Details);
  }
}

TEST_F(FormDetailsTest, TheCookiesFolderNotFoundListsNothingFound) {
  registry.SetValue(kShellFoldersKey, "Cookies", platform::kRegBinary, {1});
  Scan();
  Request(ids::Label_Cookies_Details);
  EXPECT_THAT(List(), ElementsAre(kCookieHeading, "", "No cookies found"));
}

TEST_F(FormDetailsTest, LetsEventsRunAfterEveryFileAndEveryAddress) {
  files.AddFile(kCookies + "a.txt", "a\nb\nfirst/\n");
  files.AddFile(kCookies + "b.txt", "nothing usable");
  SetTypedUrls({{1, "u1"}, {2, "u2"}});
  Scan();
  std::size_t mark = runtime.LogMark();
  Request(ids::Status_Cookies);
  EXPECT_THAT(Lines({kDetailsName, "events", "read"}, mark),
              ElementsAre(kDetailsName + ": show", kListLine + "hidden", kListLine + "clear", kListLine + "visible",
                          kListLine + "item " + kCookieHeading, kListLine + "item ",
                          "read " + kCookies + "a.txt", kListLine + "item first", "events",
                          "read " + kCookies + "b.txt", "events", kListLine + "focus"));
  mark = runtime.LogMark();
  Request(ids::Status_History);
  EXPECT_THAT(Lines({kDetailsName, "events", "query"}, mark),
              ElementsAre(kDetailsName + ": show", kListLine + "hidden", kListLine + "clear", kListLine + "visible",
                          kListLine + "item " + kUrlHeading, kListLine + "item ",
                          "query Url1", kListLine + "item u1", "events",
                          "query Url2", kListLine + "item u2", "events",
                          "query Url3", kListLine + "focus"));
}

TEST_F(FormDetailsTest, ListsTypedAddressesReadAfresh) {
  using namespace std::string_literals;
  struct Case {
    const char* name;
    std::function<void(fake::FakeRegistry&)> setUp;
    std::vector<std::string> expected;
    int lastRead;
  };
  const Case cases[] = {
      {"1 to 3 present, 4 missing, 5 present", [](fake::FakeRegistry& r) {
         for (int n : {1, 2, 3, 5}) r.SetString(kTypedUrlsKey, TypedUrlName(n), "u" + std::to_string(n));
       }, {"u1", "u2", "u3"}, 4},
      {"no Url1", [](fake::FakeRegistry& r) { r.SetString(kTypedUrlsKey, "Url2", "u2"); }, {"No URLs found"}, 1},
      {"the empty string is an empty line", [](fake::FakeRegistry& r) {
         r.SetString(kTypedUrlsKey, "Url1", "");
         r.SetString(kTypedUrlsKey, "Url2", "u2");
       }, {"", "u2"}, 3},
      {"a number as its digits", [](fake::FakeRegistry& r) { r.SetDword(kTypedUrlsKey, "Url1", 4294967295u); },
       {"-1"}, 2},
      {"a value without data ends the list", [](fake::FakeRegistry& r) {
         r.SetString(kTypedUrlsKey, "Url1", "", false);
         r.SetString(kTypedUrlsKey, "Url2", "u2");
       }, {"No URLs found"}, 1},
      {"an unread type ends the list", [](fake::FakeRegistry& r) {
         r.SetValue(kTypedUrlsKey, "Url1", platform::kRegExpandSz, {'x', 0});
       }, {"No URLs found"}, 1},
  };
  Scan();  // before the addresses exist: they are read at the request
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    registry.RemoveKey(kTypedUrlsKey);
    registry.CreateKey(kTypedUrlsKey);
    c.setUp(registry);
    const std::size_t mark = runtime.LogMark();
    Request(ids::Label_History_Details);
    std::vector<std::string> expected = {kUrlHeading, ""};
    expected.insert(expected.end(), c.expected.begin(), c.expected.end());
    EXPECT_EQ(List(), expected);
    EXPECT_EQ(Lines({"query Url"}, mark).back(), "query Url" + std::to_string(c.lastRead));
  }
}

TEST_F(FormDetailsTest, OtherKindsShowAnEmptyListWithTheFocus) {
  Scan();
  for (int kind : {0, 3, -1}) {
    SCOPED_TRACE(kind);
    app.Details().ShowDetails(static_cast<DetailsKind>(kind));
    EXPECT_TRUE(Window().IsShown());
    EXPECT_THAT(List(), IsEmpty());
    EXPECT_EQ(Window().Focus(), ids::List_Details);
  }
}

TEST_F(FormDetailsTest, CloseHidesAndTheNextRequestFillsAFreshList) {
  files.AddFile(kCookies + "a.txt", "a\nb\nsite/\n");
  Scan();
  Request(ids::Status_Cookies);
  ASSERT_TRUE(runtime.Click(Window(), ids::Details_Command_Close));
  EXPECT_FALSE(Window().IsShown());
  EXPECT_THAT(List(), ElementsAre(kCookieHeading, "", "site"));
  SetTypedUrls({{1, "u"}});
  Request(ids::Status_History);
  EXPECT_TRUE(Window().IsShown());
  EXPECT_THAT(List(), ElementsAre(kUrlHeading, "", "u"));
  // The close box hides it the same way.
  ASSERT_TRUE(runtime.Close(Window()));
  EXPECT_FALSE(Window().IsShown());
  EXPECT_FALSE(runtime.Ended());
  EXPECT_THAT(List(), ElementsAre(kUrlHeading, "", "u"));
}

TEST_F(FormDetailsTest, ASecondRequestInsideTheFillingStartsTheListAnew) {
  files.AddFile(kCookies + "a.txt", "a\nb\none/\n");
  files.AddFile(kCookies + "b.txt", "a\nb\ntwo/\n");
  SetTypedUrls({{1, "u"}});
  Scan();
  DetailsAt(FromNow(1), ids::Status_History);  // after the first cookie file
  Request(ids::Status_Cookies);
  // The outer request went on into the same list, and its two-line test saw
  // the whole list.
  EXPECT_THAT(List(), ElementsAre(kUrlHeading, "", "u", "two"));
}

TEST_F(FormDetailsTest, CloseInsideTheFillingHidesAndTheFillingGoesOn) {
  files.AddFile(kCookies + "a.txt", "a\nb\none/\n");
  files.AddFile(kCookies + "b.txt", "a\nb\ntwo/\n");
  Scan();
  Request(ids::Status_History);  // the window exists and is shown
  runtime.QueueClick(FromNow(1), kDetailsName, ids::Details_Command_Close);
  const std::size_t mark = runtime.LogMark();
  Request(ids::Status_Cookies);
  EXPECT_FALSE(Window().IsShown());
  EXPECT_THAT(List(), ElementsAre(kCookieHeading, "", "one", "two"));
  // No focus for a list in a hidden window.
  EXPECT_THAT(Lines({kListLine + "focus"}, mark), IsEmpty());
}

TEST_F(FormDetailsTest, AScanInsideTheFillingNeverReadsPastTheListsEnd) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.AddFile(kCookies + name, std::string("a\nb\n") + name + "\n");
  Scan();
  files.Remove(kCookies + "b.txt");
  files.Remove(kCookies + "c.txt");
  files.AddFile(kCookies + "d.txt", "a\nb\nd.txt\n");
  ScanAt(FromNow(1));
  const std::size_t mark = runtime.LogMark();
  Request(ids::Status_Cookies);
  // Position 2 is d.txt after the nested scan; position 3 lies past the end.
  EXPECT_THAT(Lines({"read"}, mark), ElementsAre("read " + kCookies + "a.txt", "read " + kCookies + "d.txt"));
  EXPECT_THAT(List(), ElementsAre(kCookieHeading, "", "a.txt", "d.txt"));
}

TEST_F(FormDetailsTest, VanishedFilesGiveNoLine) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) files.AddFile(kCookies + name, std::string("a\nb\n") + name + "\n");
  Scan();
  files.Remove(kCookies + "a.txt");
  // A removal handled after the first file: the history and cookie files go.
  RemoveAt(FromNow(1));
  Request(ids::Status_Cookies);
  EXPECT_THAT(List(), ElementsAre(kCookieHeading, "", "No cookies found"));
  EXPECT_EQ(files.OpenHandles(), 0);
}

TEST_F(FormDetailsTest, AnAddressTypedAfterTheScanIsListed) {
  Scan();
  SetTypedUrls({{1, "new"}});
  Request(ids::Status_History);
  EXPECT_THAT(List(), ElementsAre(kUrlHeading, "", "new"));
}

TEST_F(FormDetailsTest, ClosingTheMainWindowDuringTheFillingEndsTheProgram) {
  SetTypedUrls({{1, "a"}, {2, "b"}});
  Scan();
  runtime.QueueClose(FromNow(1), kMainName);
  EXPECT_THROW(Request(ids::Status_History), fake::ProgramEnded);
  EXPECT_THAT(List(), ElementsAre(kUrlHeading, "", "a"));
}

}  // namespace
}  // namespace veltrane::testing
