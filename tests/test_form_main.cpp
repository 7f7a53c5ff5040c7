#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/control_ids.h"
#include "app/form_main_design.h"
#include "app/program.h"
#include "app_fixture.h"
#include "veltrane_version.h"
#include "windows/form_details.h"
#include "windows/form_msg.h"

namespace veltrane::testing {
namespace {

using fake::FakeDesktop;
using platform::ControlKind;
using platform::Cursor;

const std::string kWarning =
    "\r\nPlease close Microsoft Internet\r\nExplorer before using this program.\r\n\r\n"
    "Some files could not be removed correctly if MSIE is open!";
const std::vector<std::string> kPassItems = {"1 Pass    (normal)", "3 Passes (secure)",
                                             "7 Passes (ultra-secure)"};

class FormMainTest : public AppFixture {
 protected:
  std::vector<std::string> Items() {
    std::vector<std::string> items;
    for (int i = 0; i < main().ItemCount(ids::Combo_Pass); ++i) items.push_back(main().Item(ids::Combo_Pass, i));
    return items;
  }
  std::vector<std::string> TaskList() {
    std::vector<std::string> titles;
    for (std::size_t i = 1; i <= app.state.taskList.Count(); ++i) titles.push_back(app.state.taskList[i]);
    return titles;
  }
  // How many times the load step handed the warning to the message window.
  int Warnings() {
    fake::FakeForm* msg = runtime.FindForm("Form1");
    return msg ? static_cast<int>(msg->TextHistory(ids::Label_Msg).size()) : 0;
  }
};

TEST_F(FormMainTest, LoadStepRunsInOrderAndWarnsAfterShowingTheMainWindow) {
  desktop.AddWindow({.handle = 7, .title = "Inbox"});
  desktop.AddWindow({.handle = 8, .title = "Start - Microsoft Internet Explorer"});
  app.state.scanDone = true;
  const std::size_t mark = runtime.LogMark();

  mainForm.Form_Load();

  EXPECT_EQ(runtime.LogSince(mark), (std::vector<std::string>{
      std::string("Veltrane: caption ") + VELTRANE_CAPTION,
      "Veltrane.Combo_Pass: clear",
      "Veltrane.Combo_Pass: item 1 Pass    (normal)",
      "Veltrane.Combo_Pass: item 3 Passes (secure)",
      "Veltrane.Combo_Pass: item 7 Passes (ultra-secure)",
      "Veltrane.Combo_Pass: index 0",
      "Veltrane.Combo_Pass: disabled",
      "events #1",
      "events #2",
      "Veltrane: show",
      "create Form1",
      "Form1.Label_Msg: " + kWarning,
      "Form1: show",
      "Form1.Timer_Msg: timer on",
  })) << runtime.ToString();
  EXPECT_FALSE(app.state.scanDone);
  EXPECT_EQ(main().MousePointer(), platform::kPointerDefault);
}

TEST_F(FormMainTest, CaptionCarriesTheVersionWithoutLeadingZeros) {
  struct Case {
    platform::Version version;
    const char* caption;
  };
  for (const Case& c : std::vector<Case>{{{1, 11, 22}, "Veltrane v1.11 (build 22)"},
                                         {{2, 5, 7}, "Veltrane v2.5 (build 7)"},
                                         {{0, 0, 0}, "Veltrane v0.0 (build 0)"},
                                         {{65535, 65535, 65535}, "Veltrane v65535.65535 (build 65535)"}}) {
    SCOPED_TRACE(c.caption);
    runtime.SetVersion(c.version);
    mainForm.Form_Load();
    EXPECT_EQ(main().Caption(), c.caption);
  }
}

TEST_F(FormMainTest, BrowserWarningFollowsTheTitlesOfVisibleUnownedOtherWindows) {
  struct Case {
    const char* name;
    std::vector<FakeDesktop::Window> windows;  // handle 0 = the main window itself
    int warnings;
    std::vector<std::string> tasks;
  };
  const std::vector<Case> cases = {
      {"no window", {}, 0, {}},
      {"no browser", {{1, "Notepad"}, {2, "Calculator"}}, 0, {"Notepad", "Calculator"}},
      {"one browser", {{1, "Notepad"}, {2, "Home - Microsoft Internet Explorer"}}, 1,
       {"Notepad", "Home - Microsoft Internet Explorer"}},
      {"mixed case", {{1, "x - microsoft INTERNET explorer"}}, 1, {"x - microsoft INTERNET explorer"}},
      {"another program naming it", {{1, "Notes on MICROSOFT INTERNET EXPLORER 6"}}, 1,
       {"Notes on MICROSOFT INTERNET EXPLORER 6"}},
      {"two browsers", {{1, "a - Microsoft Internet Explorer"}, {2, "b - Microsoft Internet Explorer"}},
       2, {"a - Microsoft Internet Explorer", "b - Microsoft Internet Explorer"}},
      {"hidden", {{1, "Microsoft Internet Explorer", false}}, 0, {}},
      {"owned", {{1, "Microsoft Internet Explorer", true, 5}, {5, "Owner"}}, 0, {"Owner"}},
      {"untitled", {{1, ""}}, 0, {}},
      {"the main window itself", {{0, "Microsoft Internet Explorer"}}, 0, {}},
      {"double blank", {{1, "Microsoft  Internet Explorer"}}, 0, {"Microsoft  Internet Explorer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDesktop windows;
    platform::Services own{registry, files, windows, launcher, runtime};
    AppContext ctx(own);
    FormMain subject(ctx);
    for (FakeDesktop::Window w : c.windows) {
      if (w.handle == 0) w.handle = subject.form().Handle();
      windows.AddWindow(w);
    }
    subject.Form_Load();
    EXPECT_EQ(ctx.HasMsg(), c.warnings > 0);
    EXPECT_EQ(subject.form().IsShown(), c.warnings > 0) << "shown early only for a warning";
    if (ctx.HasMsg()) {
      EXPECT_EQ(runtime.TextsOf(ctx.Msg().form(), ids::Label_Msg),
                std::vector<std::string>(c.warnings, kWarning));
      EXPECT_TRUE(ctx.Msg().form().IsShown());
    }
    std::vector<std::string> tasks;
    for (std::size_t i = 1; i <= ctx.state.taskList.Count(); ++i) tasks.push_back(ctx.state.taskList[i]);
    EXPECT_EQ(tasks, c.tasks);
  }
}

TEST_F(FormMainTest, WalkLetsEventsRunOncePerWindowAndEndsWhenOneVanishes) {
  desktop.AddWindow({.handle = 1, .title = "One"});
  desktop.AddWindow({.handle = 2, .title = "Hidden", .visible = false});
  desktop.AddWindow({.handle = 3, .title = "Owned", .owner = 1});
  desktop.AddWindow({.handle = main().Handle(), .title = "Veltrane"});
  desktop.AddWindow({.handle = 4, .title = "Four"});
  mainForm.GetTaskName();
  EXPECT_EQ(runtime.DoEventsCount(), 5);
  EXPECT_EQ(TaskList(), (std::vector<std::string>{"One", "Four"}));

  // Window 3 closes while events run after window 2: the walk reads 0 for it
  // and stops with the titles gathered so far.
  runtime.QueueAt(runtime.DoEventsCount() + 2, [&] { desktop.Remove(3); });
  mainForm.GetTaskName();
  EXPECT_EQ(TaskList(), std::vector<std::string>{"One"});
}

TEST_F(FormMainTest, StartsUntickedWithTheListFilledDisabledAndOnItsFirstItem) {
  Load();
  EXPECT_EQ(main().CheckValue(ids::Check_Wipe), 0);
  EXPECT_FALSE(main().IsEnabled(ids::Combo_Pass));
  EXPECT_EQ(Items(), kPassItems);
  EXPECT_EQ(main().ListIndex(ids::Combo_Pass), 0);
  EXPECT_EQ(main().Text(ids::Combo_Pass), "1 Pass    (normal)");
  EXPECT_EQ(runtime.Of(main()).Focus(), ids::Check_Wipe) << "the only control that can take it";
  // A user cannot reach the disabled list.
  EXPECT_FALSE(runtime.KeyUp(main(), ids::Combo_Pass, '7'));
  EXPECT_FALSE(runtime.Click(main(), ids::Combo_Pass));
  EXPECT_FALSE(runtime.ChooseItem(main(), ids::Combo_Pass, 2));
  EXPECT_EQ(main().ListIndex(ids::Combo_Pass), 0);
}

TEST_F(FormMainTest, BoxAndLabelToggleAlikeAndTheListFollows) {
  for (int control : {ids::Check_Wipe, ids::Label_Wipe}) {
    SCOPED_TRACE(control);
    Load();
    ASSERT_TRUE(runtime.Click(main(), control));
    EXPECT_EQ(main().CheckValue(ids::Check_Wipe), 1);
    EXPECT_TRUE(main().IsEnabled(ids::Combo_Pass));
    ASSERT_TRUE(runtime.Click(main(), control));
    EXPECT_EQ(main().CheckValue(ids::Check_Wipe), 0);
    EXPECT_FALSE(main().IsEnabled(ids::Combo_Pass));
  }
  // The label's change goes through the box's own click before it returns.
  const std::size_t mark = runtime.LogMark();
  runtime.Click(main(), ids::Label_Wipe);
  EXPECT_EQ(runtime.LogSince(mark), (std::vector<std::string>{"click Veltrane.Label_Wipe",
                                                              "Veltrane.Check_Wipe: value 1",
                                                              "Veltrane.Combo_Pass: enabled"}));
}

TEST_F(FormMainTest, SelectionSurvivesUntickingAndTicking) {
  Load();
  runtime.Click(main(), ids::Check_Wipe);
  ASSERT_TRUE(runtime.ChooseItem(main(), ids::Combo_Pass, 2));
  runtime.Click(main(), ids::Label_Wipe);
  EXPECT_EQ(main().ListIndex(ids::Combo_Pass), 2) << "a disabled list keeps its selection";
  runtime.Click(main(), ids::Check_Wipe);
  EXPECT_EQ(main().ListIndex(ids::Combo_Pass), 2);
  EXPECT_EQ(main().Text(ids::Combo_Pass), "7 Passes (ultra-secure)");
  EXPECT_EQ(Items(), kPassItems);
}

TEST_F(FormMainTest, AnyKeyReleaseRefillsTheListOnItsFirstItem) {
  Load();
  runtime.Click(main(), ids::Check_Wipe);
  struct Case {
    int key, shift;
  };
  for (const Case& c : std::vector<Case>{{'7', 0}, {40, 0}, {13, 0}, {46, 0}, {16, 1}, {17, 2}, {'A', 1}}) {
    SCOPED_TRACE(c.key);
    runtime.ChooseItem(main(), ids::Combo_Pass, 2);
    runtime.PasteText(main(), ids::Combo_Pass, "7");
    ASSERT_TRUE(runtime.KeyUp(main(), ids::Combo_Pass, c.key, c.shift));
    EXPECT_EQ(Items(), kPassItems) << "three items, never more";
    EXPECT_EQ(main().ListIndex(ids::Combo_Pass), 0);
    EXPECT_EQ(main().Text(ids::Combo_Pass), "1 Pass    (normal)");
  }
}

TEST_F(FormMainTest, PastedTextSelectsNothingUntilAKeyIsReleased) {
  Load();
  runtime.Click(main(), ids::Check_Wipe);
  runtime.PasteText(main(), ids::Combo_Pass, "3 Passes (secure)");
  EXPECT_EQ(main().ListIndex(ids::Combo_Pass), -1);
}

TEST_F(FormMainTest, EachLinkClickOpensTheSiteAndFailuresLeaveNoTrace) {
  Load();
  EXPECT_EQ(main().Text(ids::Label_URL), "www.veltrane.example");
  launcher.SetResult(false);
  const std::size_t mark = runtime.LogMark();
  runtime.Click(main(), ids::Label_URL);
  runtime.Click(main(), ids::Label_URL);
  ASSERT_EQ(launcher.Calls().size(), 2u);
  for (const auto& call : launcher.Calls()) {
    EXPECT_EQ(call.address, "https://www.veltrane.example");
    EXPECT_EQ(call.windowState, platform::kShowMinimizedWithFocus);
  }
  EXPECT_EQ(runtime.LogSince(mark),
            (std::vector<std::string>{"click Veltrane.Label_URL", "click Veltrane.Label_URL"}));
}

TEST_F(FormMainTest, ClicksReachTheirActions) {
  Load();
  app.state.scanDone = true;  // so the details window lists instead of refusing
  struct Case {
    int control;
    const char* firstDetailsLine;  // nullptr: no details window
  };
  for (const Case& c : std::vector<Case>{{ids::Status_Cookies, "Domains that have saved a cookie on your HD:"},
                                         {ids::Label_Cookies_Details, "Domains that have saved a cookie on your HD:"},
                                         {ids::Status_History, "URLs found in registry:"},
                                         {ids::Label_History_Details, "URLs found in registry:"}}) {
    SCOPED_TRACE(c.control);
    runtime.Click(main(), c.control);
    ASSERT_TRUE(app.HasDetails());
    EXPECT_EQ(app.Details().form().Item(ids::List_Details, 0), c.firstDetailsLine);
  }
  for (int control : {ids::Command_Scan, ids::Image_Scan}) {
    SCOPED_TRACE(control);
    const std::size_t mark = runtime.LogMark();
    runtime.Click(main(), control);
    const auto log = runtime.LogSince(mark);
    EXPECT_NE(std::find(log.begin(), log.end(), "Veltrane: pointer 11"), log.end()) << "the scan ran";
  }
  for (int control : {ids::Command_Remove, ids::Image_Remove}) {
    SCOPED_TRACE(control);
    const std::size_t boxes = runtime.MessageBoxes().size();
    runtime.QueueAnswer(platform::kAnswerCancel);
    runtime.Click(main(), control);
    ASSERT_EQ(runtime.MessageBoxes().size(), boxes + 1);
    EXPECT_EQ(runtime.MessageBoxes().back().text, "Really delete all information?");
  }
}

TEST_F(FormMainTest, ClicksOnPlainControlsDoNothing) {
  Load();
  for (int control : {ids::Status_Cache, ids::Label_Cookies, ids::Label_History, ids::Label_Cache,
                      ids::Label_For, ids::Label_C, ids::Label_ARR, ids::Label_Site, ids::Label2,
                      ids::Image_Logo, ids::Image_Veltrane, ids::Image_IE, ids::Line1}) {
    SCOPED_TRACE(control);
    const std::size_t mark = runtime.LogMark();
    runtime.Click(main(), control);
    EXPECT_EQ(runtime.LogSince(mark).size(), 1u) << runtime.ToString();
  }
  EXPECT_FALSE(app.HasDetails());
  EXPECT_TRUE(launcher.Calls().empty());
}

TEST_F(FormMainTest, ClosingTheMainWindowEndsTheProgramWithEveryWindow) {
  desktop.AddWindow({.handle = 1, .title = "Microsoft Internet Explorer"});
  Load();
  ASSERT_TRUE(app.Msg().form().IsShown());
  EXPECT_THROW(runtime.Close(main()), fake::ProgramEnded);
  EXPECT_TRUE(runtime.Ended());
  EXPECT_EQ(runtime.Log().back(), "end");
}

TEST_F(FormMainTest, ClosingDuringAnActionEndsItThere) {
  Load();
  app.state.scanDone = true;
  registry.SetString("Software\\Microsoft\\Internet Explorer\\TypedURLs", "Url1", "http://a.example/");
  registry.SetString("Software\\Microsoft\\Internet Explorer\\TypedURLs", "Url2", "http://b.example/");
  runtime.QueueClose(runtime.DoEventsCount() + 1, "Veltrane");
  EXPECT_THROW(runtime.Click(main(), ids::Status_History), fake::ProgramEnded);
  EXPECT_EQ(runtime.Log().back(), "end");
  EXPECT_EQ(app.Details().form().ItemCount(ids::List_Details), 3) << "stopped after the first address";
}

class ProgramTest : public FakePlatformTest {};

TEST_F(ProgramTest, StartsShownWithItsCaptionAndEndsOnClose) {
  bool shownInLoop = false;
  runtime.QueueInLoop([&] {
    fake::FakeForm* main = runtime.FindForm("Veltrane");
    ASSERT_NE(main, nullptr);
    shownInLoop = main->IsShown() && main->Caption() == VELTRANE_CAPTION;
  });
  EXPECT_EQ(RunProgram(services), 0);
  EXPECT_TRUE(shownInLoop);
  EXPECT_EQ(std::count(runtime.Log().begin(), runtime.Log().end(), "Veltrane: show"), 1);

  runtime.QueueInLoop([&] { runtime.Close(*runtime.FindForm("Veltrane")); });
  EXPECT_THROW(RunProgram(services), fake::ProgramEnded);
}

// The warning shows the main window before it; the start-up must not show
// the main window again, which would raise it over the warning.
TEST_F(ProgramTest, WithABrowserOpenTheWarningStaysInFront) {
  desktop.AddWindow({.handle = 1, .title = "Home - Microsoft Internet Explorer"});
  EXPECT_EQ(RunProgram(services), 0);
  std::vector<std::string> shows;
  std::copy_if(runtime.Log().begin(), runtime.Log().end(), std::back_inserter(shows),
               [](const std::string& line) { return line.ends_with(": show"); });
  EXPECT_EQ(shows, (std::vector<std::string>{"Veltrane: show", "Form1: show"}));
}

TEST(MainLayoutTest, TableHoldsTheWholeDesign) {
  const platform::FormDesign& design = MainDesign();
  EXPECT_EQ(design.caption, "Veltrane");
  EXPECT_EQ(design.clientWidth, 9330);
  EXPECT_EQ(design.clientHeight, 5040);
  EXPECT_EQ(design.background, platform::Art::Background);
  EXPECT_TRUE(design.icon);
  EXPECT_FALSE(design.closeHides) << "closing ends the program";

  const std::set<int> buttonLike = {ids::Command_Scan, ids::Image_Scan, ids::Command_Remove,
                                    ids::Image_Remove, ids::Status_Cookies, ids::Status_History,
                                    ids::Label_Cookies_Details, ids::Label_History_Details,
                                    ids::Label_Wipe, ids::Label_URL};
  struct ArtSize {
    platform::Art art;
    int w, h;
  };
  const std::vector<ArtSize> artSizes = {
      {platform::Art::ScanPicture, 97, 49}, {platform::Art::ScanButton, 85, 26},
      {platform::Art::RemovePicture, 75, 63}, {platform::Art::RemoveButton, 130, 28},
      {platform::Art::Logo, 143, 115}, {platform::Art::ProductName, 192, 31},
      {platform::Art::BrowserBanner, 150, 36}};

  std::set<int> seen;
  std::vector<int> focusable;
  for (const platform::ControlDesign& c : design.controls) {
    SCOPED_TRACE(c.id);
    EXPECT_TRUE(seen.insert(c.id).second) << "id repeated";
    EXPECT_GE(c.id, ids::Label_Cookies);
    EXPECT_LE(c.id, ids::Combo_Pass);
    EXPECT_EQ(c.container, 0);
    if (c.kind == ControlKind::Line) {  // end points
      for (int x : {c.left, c.width}) EXPECT_TRUE(x >= 0 && x <= design.clientWidth);
      for (int y : {c.top, c.height}) EXPECT_TRUE(y >= 0 && y <= design.clientHeight);
    } else {
      EXPECT_TRUE(c.left >= 0 && c.top >= 0 && c.width > 0 && c.height > 0);
      EXPECT_LE(c.left + c.width, design.clientWidth);
      EXPECT_LE(c.top + c.height, design.clientHeight);
    }
    EXPECT_EQ(c.cursor == Cursor::Hand, buttonLike.count(c.id) == 1);
    const bool tip = c.id == ids::Status_Cookies || c.id == ids::Status_History;
    EXPECT_EQ(c.tooltip, tip ? "Click for details" : "");
    if (c.kind == ControlKind::Picture) {
      auto art = std::find_if(artSizes.begin(), artSizes.end(), [&](const ArtSize& a) { return a.art == c.picture; });
      ASSERT_NE(art, artSizes.end());
      const int frame = c.id == ids::Image_IE ? 2 : 0;  // its one-pixel border on each side
      EXPECT_EQ(c.width, (art->w + frame) * 15);
      EXPECT_EQ(c.height, (art->h + frame) * 15);
      EXPECT_EQ(c.border, frame / 2);
    }
    if (c.kind == ControlKind::Label) {
      EXPECT_TRUE(c.font.bold);
      const bool row = c.fore == 0x000000;  // the status rows and their captions
      EXPECT_EQ(c.font.tenthsOfPoint, row ? 98 : 83);
      EXPECT_EQ(c.border, row ? 1 : 0);
    }
    if (c.kind == ControlKind::CheckBox || c.kind == ControlKind::ComboBox) focusable.push_back(c.id);
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(ids::Combo_Pass - ids::Label_Cookies + 1)) << "every id has a row";
  EXPECT_EQ(focusable, (std::vector<int>{ids::Check_Wipe, ids::Combo_Pass})) << "tab order";
}

}  // namespace
}  // namespace veltrane::testing
