// The real window runtime under Wine: a small design of every kind of
// control, checked through the window system as another process would see it.
#include "platform/win32/win32_runtime.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "platform/win32/version_resource.h"
#include "runtime_events.h"

namespace veltrane::win32 {
namespace {

using platform::ControlDesign;
using platform::ControlKind;

enum Id : int {
  kStatus = 10, kNote, kPicture, kButton, kCheck, kCombo, kList, kFrame, kInFrame, kTimer, kShape, kLine
};

constexpr ControlDesign kControls[] = {
    {.id = kStatus, .kind = ControlKind::Label, .left = 150, .top = 300, .width = 1500, .height = 255,
     .font = {98, true}, .back = 0xFFFF80, .border = 1, .cursor = platform::Cursor::Hand,
     .tooltip = "Click for details"},
    {.id = kNote, .kind = ControlKind::Label, .left = 150, .top = 600, .width = 1500, .height = 480,
     .text = "note", .fore = 0xFFFFFF, .back = platform::kTransparent, .align = platform::Align::Centre,
     .wordWrap = true},
    {.id = kPicture, .kind = ControlKind::Picture, .left = 3000, .top = 300, .width = 1455, .height = 735,
     .cursor = platform::Cursor::Hand, .picture = platform::Art::ScanPicture},
    {.id = kButton, .kind = ControlKind::Button, .left = 150, .top = 1200, .width = 1200, .height = 375,
     .text = "OK!"},
    {.id = kCheck, .kind = ControlKind::CheckBox, .left = 1500, .top = 1200, .width = 195, .height = 195},
    {.id = kCombo, .kind = ControlKind::ComboBox, .left = 1800, .top = 1200, .width = 1935, .height = 315,
     .text = "Combo1"},
    {.id = kList, .kind = ControlKind::ListBox, .left = 150, .top = 1800, .width = 2000, .height = 1005},
    {.id = kFrame, .kind = ControlKind::Frame, .left = 2400, .top = 1800, .width = 2010, .height = 1200,
     .text = "Frame", .back = 0xE0E0E0},
    {.id = kInFrame, .kind = ControlKind::Label, .left = 120, .top = 360, .width = 1005, .height = 255,
     .text = "inside", .back = 0xE0E0E0, .container = kFrame},
    {.id = kTimer, .kind = ControlKind::Timer, .interval = 30},
    {.id = kShape, .kind = ControlKind::Shape, .left = 0, .top = 0, .width = 4800, .height = 3300, .border = 3},
    {.id = kLine, .kind = ControlKind::Line, .left = 2250, .top = 120, .width = 2250, .height = 3000},
};

constexpr platform::FormDesign kDesign = {
    .caption = "Runtime test",
    .clientWidth = 4800,
    .clientHeight = 3300,
    .back = 0x4060A0,
    .closeHides = true,
    .controls = kControls,
};

struct Recorder : platform::FormEvents {
  std::vector<int> clicks, ticks, keys;
  int closes = 0;
  std::function<void(int)> onClick;
  void OnClick(int id) override {
    clicks.push_back(id);
    if (onClick) onClick(id);
  }
  void OnKeyUp(int id, int key, int) override { keys.push_back(id * 1000 + key); }
  void OnTimer(int id) override { ticks.push_back(id); }
  void OnClose() override { ++closes; }
};

class Win32RuntimeTest : public ::testing::Test {
 protected:
  HWND Form() const { return reinterpret_cast<HWND>(form->Handle()); }
  HWND Child(int id) const { return GetDlgItem(Form(), id); }
  // Wine's tick count moves in steps of up to 16 ms: waiting this long
  // guarantees that the next DoEvents pumps.
  void PumpNow() {
    Sleep(40);
    runtime.DoEvents();
  }
  void RunEvents(int ms) { RunEventsFor(runtime, ms); }
  RECT RectInForm(HWND child) const { return RectInParent(child, Form()); }

  Win32Runtime runtime;
  Recorder events;
  std::unique_ptr<platform::Form> form = runtime.CreateForm(kDesign, events);
};

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

TEST_F(Win32RuntimeTest, ChildrenSitAtTheirDesignedPixelsUnderTheirIds) {
  RECT client;
  GetClientRect(Form(), &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 220);
  EXPECT_FALSE(form->IsShown()) << "a form is created hidden";

  struct Case {
    int id;
    RECT rect;  // pixels in the form's client area
    const wchar_t* cls;
  };
  const Case cases[] = {
      {kStatus, {10, 20, 110, 37}, L"VeltraneLabel"},
      {kNote, {10, 40, 110, 72}, L"VeltraneLabel"},
      {kPicture, {200, 20, 297, 69}, L"VeltranePicture"},
      {kButton, {10, 80, 90, 105}, L"Button"},
      {kCheck, {100, 80, 113, 93}, L"Button"},
      {kList, {10, 120, 143, 187}, L"ListBox"},
      {kFrame, {160, 120, 294, 200}, L"VeltraneFrame"},
      {kInFrame, {168, 144, 235, 161}, L"VeltraneLabel"},  // frame at (160, 120) + (8, 24)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    HWND child = Child(c.id);
    ASSERT_NE(child, nullptr);
    const RECT r = RectInForm(child);
    EXPECT_EQ(r.left, c.rect.left);
    EXPECT_EQ(r.top, c.rect.top);
    EXPECT_EQ(r.right, c.rect.right);
    EXPECT_EQ(r.bottom, c.rect.bottom);
    EXPECT_EQ(_wcsicmp(ClassOf(child).c_str(), c.cls), 0);
  }
  // The combo box's window includes its drop-down list; its field does not.
  const RECT combo = RectInForm(Child(kCombo));
  EXPECT_EQ(combo.left, 120);
  EXPECT_EQ(combo.top, 80);
  EXPECT_EQ(combo.right, 249);
  EXPECT_EQ(_wcsicmp(ClassOf(Child(kCombo)).c_str(), L"ComboBox"), 0);
  // Shapes, lines and timers are painted or kept by the form itself.
  for (int id : {kTimer, kShape, kLine}) EXPECT_EQ(Child(id), nullptr) << id;
}

TEST_F(Win32RuntimeTest, LabelTextReachesOtherProcessesWhenEventsRun) {
  HWND status = Child(kStatus);
  wchar_t shown[64] = {};
  RunEvents(20);
  form->SetText(kStatus, "Scanning... 12");
  EXPECT_EQ(form->Text(kStatus), "Scanning... 12");
  // WM_GETTEXT is answered from the stored text at once ...
  SendMessageW(status, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, L"Scanning... 12");
  EXPECT_EQ(SendMessageW(status, WM_GETTEXTLENGTH, 0, 0), 14);
  // ... the window manager's copy, which GetWindowText from another process
  // reads, follows when events run.
  PumpNow();
  InternalGetWindowText(status, shown, 64);
  EXPECT_STREQ(shown, L"Scanning... 12");
  // A reader with a small buffer gets the start, NUL-ended.
  wchar_t small[5] = {};
  EXPECT_EQ(SendMessageW(status, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(small)), 4);
  EXPECT_STREQ(small, L"Scan");
  // Texts of other controls.
  form->SetText(kFrame, "  -=-  Veltrane  -=-  ");
  EXPECT_EQ(form->Text(kFrame), "  -=-  Veltrane  -=-  ");
  SendMessageW(Child(kFrame), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, L"  -=-  Veltrane  -=-  ");
  EXPECT_EQ(form->Text(kButton), "OK!");
  EXPECT_EQ(form->Text(kCombo), "Combo1");
}

// Where no event may run, a changed text is still painted: the label is
// drawn and nothing waiting in the queue (a click, a posted message, a
// timer tick) is handled.
TEST_F(Win32RuntimeTest, PaintingChangesHandlesNoPendingEvent) {
  form->Show();
  RunEvents(50);
  HWND status = Child(kStatus);
  form->SetText(kStatus, "Erasing cache files (7)");
  PostMessageW(status, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(status, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  PostMessageW(Child(kButton), BM_CLICK, 0, 0);
  events.ticks.clear();
  Sleep(80);  // the 30 ms timer is due
  runtime.PaintChanges();
  RECT waiting;
  EXPECT_FALSE(GetUpdateRect(status, &waiting, FALSE)) << "the label is not painted yet";
  wchar_t shown[64] = {};
  InternalGetWindowText(status, shown, 64);
  EXPECT_STREQ(shown, L"Erasing cache files (7)");
  EXPECT_TRUE(events.clicks.empty());
  EXPECT_TRUE(events.ticks.empty());
  RunEvents(50);
  EXPECT_EQ(events.clicks, (std::vector<int>{kStatus, kButton})) << "what waited is handled when events run";
}

TEST_F(Win32RuntimeTest, CheckBoxChangedByCodeRaisesClickOnceLikeTheUser) {
  std::vector<int> seen;
  events.onClick = [&](int id) { seen.push_back(form->CheckValue(id)); };
  form->SetCheckValue(kCheck, 1);
  form->SetCheckValue(kCheck, 1);  // no change, no click
  EXPECT_EQ(seen, (std::vector<int>{1}));
  // The user's click (BM_CLICK goes the way a mouse click goes) toggles it.
  SendMessageW(Child(kCheck), BM_CLICK, 0, 0);
  SendMessageW(Child(kCheck), BM_CLICK, 0, 0);
  form->SetCheckValue(kCheck, 0);
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1, 0}));
  EXPECT_EQ(events.clicks, (std::vector<int>(4, kCheck)));
}

TEST_F(Win32RuntimeTest, ComboAndListKeepItemsInOrderAndMinusOneForNoSelection) {
  for (int id : {kCombo, kList}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(form->ListIndex(id), -1);
    EXPECT_EQ(form->ItemCount(id), 0);
    EXPECT_EQ(form->Item(id, 0), "");
    for (const char* item : {"7 Passes (ultra-secure)", "1 Pass    (normal)", "3 Passes (secure)"})
      form->AddItem(id, item);
    EXPECT_EQ(form->ItemCount(id), 3);
    EXPECT_EQ(form->Item(id, 0), "7 Passes (ultra-secure)");
    EXPECT_EQ(form->Item(id, 1), "1 Pass    (normal)");
    EXPECT_EQ(form->ListIndex(id), -1);
    form->SetListIndex(id, 2);
    EXPECT_EQ(form->ListIndex(id), 2);
    EXPECT_THROW(form->SetListIndex(id, 3), std::out_of_range);
    form->SetListIndex(id, -1);
    EXPECT_EQ(form->ListIndex(id), -1);
    form->SetListIndex(id, 1);
    form->ClearItems(id);
    EXPECT_EQ(form->ItemCount(id), 0);
    EXPECT_EQ(form->ListIndex(id), -1);
  }
  form->AddItem(kCombo, "1 Pass    (normal)");
  form->SetListIndex(kCombo, 0);
  EXPECT_EQ(form->Text(kCombo), "1 Pass    (normal)");
  // A list line shows its text up to the first NUL.
  form->AddItem(kList, std::string("http://a/\0", 10));
  EXPECT_EQ(form->Item(kList, 0), "http://a/");
}

// A list that fills item by item is redrawn when events run (and its paint
// interval has passed), not at every item; after that it redraws itself again.
TEST_F(Win32RuntimeTest, AFillingListIsRedrawnWhenEventsRun) {
  form->Show();
  RunEvents(50);
  HWND list = Child(kList);
  RECT waiting;
  form->AddItem(kList, "first");
  EXPECT_FALSE(GetUpdateRect(list, &waiting, FALSE)) << "redrawn at the item";
  Sleep(Win32Runtime::kPaintIntervalMs + 20);
  runtime.DoEvents();
  EXPECT_FALSE(GetUpdateRect(list, &waiting, FALSE)) << "not painted when events ran";
  SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"second"));
  EXPECT_TRUE(GetUpdateRect(list, &waiting, FALSE)) << "the list no longer redraws itself";
  EXPECT_EQ(form->ItemCount(kList), 2);
}

TEST_F(Win32RuntimeTest, DisabledComboTakesNoFocusAndEveryKeyReleaseIsReported) {
  form->Show();
  RunEvents(30);
  HWND combo = Child(kCombo);
  form->SetEnabled(kCombo, false);
  EXPECT_FALSE(form->IsEnabled(kCombo));
  form->SetFocus(kCombo);
  EXPECT_FALSE(GetFocus() == combo || IsChild(combo, GetFocus()));
  form->SetEnabled(kCombo, true);
  form->SetFocus(kCombo);
  EXPECT_TRUE(GetFocus() == combo || IsChild(combo, GetFocus()));

  // Keys go to the field inside the combo box; each release is one KeyUp.
  HWND field = GetFocus();
  for (WPARAM key : {WPARAM('7'), WPARAM(VK_DOWN), WPARAM(VK_SHIFT)}) {
    PostMessageW(field, WM_KEYDOWN, key, 1);
    PostMessageW(field, WM_KEYUP, key, 0xC0000001);
  }
  RunEvents(40);
  EXPECT_EQ(events.keys, (std::vector<int>{kCombo * 1000 + '7', kCombo * 1000 + VK_DOWN,
                                           kCombo * 1000 + VK_SHIFT}));
}

TEST_F(Win32RuntimeTest, KeyboardMovesBetweenControlsAndEnterPressesTheFocusedButton) {
  form->Show();
  RunEvents(30);
  const auto press = [&](WPARAM key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    RunEvents(40);
  };
  const auto focused = [&](int id) { return GetFocus() == Child(id) || IsChild(Child(id), GetFocus()); };
  form->SetFocus(kButton);
  press(VK_RETURN);
  press(VK_ESCAPE);  // nothing: no control answers IDCANCEL
  EXPECT_EQ(events.clicks, (std::vector<int>{kButton}));
  EXPECT_TRUE(form->IsShown());

  // Tab follows the design order and skips a disabled control.
  press(VK_TAB);
  EXPECT_TRUE(focused(kCheck));
  press(VK_TAB);
  EXPECT_TRUE(focused(kCombo));
  form->SetFocus(kCheck);
  form->SetEnabled(kCombo, false);
  press(VK_TAB);
  EXPECT_TRUE(focused(kList));
}

BOOL CALLBACK FindToolTip(HWND hwnd, LPARAM found) {
  if (_wcsicmp(ClassOf(hwnd).c_str(), TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(found) = hwnd;
  return TRUE;
}

TEST_F(Win32RuntimeTest, ToolTipBelongsToItsControlOnceShown) {
  HWND tip = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindToolTip, reinterpret_cast<LPARAM>(&tip));
  EXPECT_EQ(tip, nullptr) << "made after the first show, not at start-up";
  form->Show();
  RunEvents(100);
  EnumThreadWindows(GetCurrentThreadId(), FindToolTip, reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(GetWindow(tip, GW_OWNER), Form());
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = Form();
  tool.uId = reinterpret_cast<UINT_PTR>(Child(kStatus));
  tool.lpszText = text;
  SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"Click for details");
}

TEST_F(Win32RuntimeTest, LabelClickIsAPressAndAReleaseOnIt) {
  HWND status = Child(kStatus);
  SendMessageW(status, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(status, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  SendMessageW(status, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(status, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));  // released elsewhere
  SendMessageW(status, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));    // no press before it
  SendMessageW(Child(kPicture), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(Child(kPicture), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(events.clicks, (std::vector<int>{kStatus, kPicture}));
}

TEST_F(Win32RuntimeTest, HandlerThatThrowsStopsThereAndEventsGoOn) {
  events.onClick = [](int) { throw std::runtime_error("handler failed"); };
  SendMessageW(Child(kButton), BM_CLICK, 0, 0);
  events.onClick = nullptr;
  SendMessageW(Child(kButton), BM_CLICK, 0, 0);
  EXPECT_EQ(events.clicks, (std::vector<int>{kButton, kButton}));
}

TEST_F(Win32RuntimeTest, TimerTicksWhileOnAndCloseBoxHidesThenTellsTheWindow) {
  EXPECT_TRUE(form->TimerEnabled(kTimer)) << "on from creation";
  RunEvents(150);
  EXPECT_GE(events.ticks.size(), 2u);
  form->SetTimerEnabled(kTimer, false);
  events.ticks.clear();
  RunEvents(100);
  EXPECT_TRUE(events.ticks.empty());

  form->Show();
  form->SetText(kNote, "kept");
  SendMessageW(Form(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form->IsShown());
  EXPECT_EQ(events.closes, 1);
  EXPECT_TRUE(IsWindow(Form())) << "hidden, not destroyed";
  EXPECT_EQ(form->Text(kNote), "kept");
}

TEST_F(Win32RuntimeTest, ShownCentredTheFirstTimeThenWhereItWas) {
  form->Show();
  RECT r;
  GetWindowRect(Form(), &r);
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  SetWindowPos(Form(), nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  form->Hide();
  form->Show();
  GetWindowRect(Form(), &r);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);

  // Shown again while up, under another window: it comes to the front.
  Recorder otherEvents;
  auto other = runtime.CreateForm(kDesign, otherEvents);
  other->Show();
  form->Show();
  HWND first = GetTopWindow(nullptr);
  while (first && first != Form() && first != reinterpret_cast<HWND>(other->Handle()))
    first = GetWindow(first, GW_HWNDNEXT);
  EXPECT_EQ(first, Form());
}

TEST_F(Win32RuntimeTest, CursorIsHandOnHandControlsAndHourglassEverywhereWhileBusy) {
  const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  const HCURSOR wait = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));
  const HCURSOR hand = runtime.Artwork().HandCursor();
  struct Case {
    int pointer, id;
    HCURSOR expected;
  };
  const Case cases[] = {
      {platform::kPointerDefault, kStatus, hand},  {platform::kPointerDefault, kPicture, hand},
      {platform::kPointerDefault, kNote, arrow},   {platform::kPointerDefault, kButton, arrow},
      {platform::kPointerHourglass, kStatus, wait}, {platform::kPointerHourglass, kList, wait},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    form->SetMousePointer(c.pointer);
    EXPECT_EQ(form->MousePointer(), c.pointer);
    HWND child = Child(c.id);
    SendMessageW(child, WM_SETCURSOR, reinterpret_cast<WPARAM>(child), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), c.expected);
  }
}

// Presses a button of the next message box titled `title` from another
// thread, as the user would; records what the box offered.
struct BoxAnswerer {
  BoxAnswerer(const wchar_t* title, int press) {
    worker = std::thread([this, title, press] {
      // Found by its title, the box may still be setting itself up (its
      // default button comes later); it shows itself once it is ready.
      for (int i = 0; i < 500 && !box; ++i) {
        HWND found = FindWindowW(L"#32770", title);
        if (found && IsWindowVisible(found)) box = found;
        else Sleep(10);
      }
      if (!box) return;
      owner = GetWindow(box, GW_OWNER);
      ownerEnabled = owner && IsWindowEnabled(owner);
      hasOk = GetDlgItem(box, IDOK) != nullptr;
      hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
      okIsDefault = (GetWindowLongW(GetDlgItem(box, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
      // The box's icon is a static control with SS_ICON; it holds none here.
      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageW(c, STM_GETICON, 0, 0))
          hasIcon = true;
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, press)));
    });
  }
  ~BoxAnswerer() {
    if (worker.joinable()) worker.join();
  }
  void Wait() { worker.join(); }
  std::thread worker;
  std::atomic<HWND> box = nullptr;
  HWND owner = nullptr;
  bool ownerEnabled = true;
  bool hasOk = false, hasCancel = false, okIsDefault = false, hasIcon = false;
};

TEST_F(Win32RuntimeTest, MessageBoxesHaveNoIconAndTheFirstButtonIsTheDefault) {
  struct Case {
    int style, press, answer;
    bool hasCancel;
  };
  const Case cases[] = {
      {platform::kMsgOkOnly, IDOK, platform::kAnswerOk, false},
      {platform::kMsgOkCancel, IDOK, platform::kAnswerOk, true},
      {platform::kMsgOkCancel, IDCANCEL, platform::kAnswerCancel, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style * 10 + c.press);
    int answer = 0;
    {
      BoxAnswerer answerer(L"Please confirm", c.press);
      answer = runtime.ShowMessage("Really delete all information?", "Please confirm", c.style);
      answerer.Wait();
      ASSERT_NE(answerer.box.load(), nullptr);
      EXPECT_TRUE(answerer.hasOk);
      EXPECT_EQ(answerer.hasCancel, c.hasCancel);
      EXPECT_TRUE(answerer.okIsDefault);
      EXPECT_FALSE(answerer.hasIcon);
      EXPECT_EQ(answerer.owner, Form()) << "modal to the main window";
      EXPECT_FALSE(answerer.ownerEnabled) << "no click reaches the window under the box";
    }
    EXPECT_EQ(answer, c.answer);
  }
}

// A wide interval, so that a loaded machine cannot stretch the outer and the
// nested call apart by a whole interval.
TEST_F(Win32RuntimeTest, HandlerThatLetsEventsRunInsideThePumpDoesNotPumpAgainAtOnce) {
  Win32Runtime slow(GetModuleHandleW(nullptr), 300);
  int depth = 0, deepest = 0;
  events.onClick = [&](int) {
    deepest = std::max(deepest, ++depth);
    slow.DoEvents();
    --depth;
  };
  for (int i = 0; i < 2; ++i)
    PostMessageW(Form(), WM_COMMAND, MAKEWPARAM(kButton, BN_CLICKED), reinterpret_cast<LPARAM>(Child(kButton)));
  slow.DoEvents();
  EXPECT_EQ(events.clicks.size(), 2u);
  EXPECT_EQ(deepest, 1);
}

void CALLBACK QuitLate(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }

TEST_F(Win32RuntimeTest, QuitTakenByThePumpStillEndsTheLoop) {
  PostQuitMessage(3);
  PumpNow();
  // Should the pump lose the quit, this one ends the loop, with its own code.
  const UINT_PTR late = SetTimer(nullptr, 0, 2000, QuitLate);
  EXPECT_EQ(runtime.Run(), 3);
  KillTimer(nullptr, late);
}

// Every point where the program lets events run must stay cheap: a scan
// sets a status text and lets events run for every file it meets.
TEST_F(Win32RuntimeTest, TextAndEventsInALoopCostLittle) {
  form->Show();
  constexpr int kRounds = 100000;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRounds; ++i) {
    form->SetText(kStatus, "Scanning files... " + std::to_string(i));
    runtime.DoEvents();
  }
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start).count();
  std::printf("[ measured ] %d x (SetText + DoEvents): %lld ms\n", kRounds, static_cast<long long>(ms));
  EXPECT_LT(ms, 3000);
  PumpNow();
  wchar_t shown[64] = {};
  InternalGetWindowText(Child(kStatus), shown, 64);
  EXPECT_STREQ(shown, L"Scanning files... 99999");
}

TEST(VersionResource, NumbersComeFromTheFixedFileInfo) {
  // A VS_VERSIONINFO head as the resource compiler writes it for 1.11.0.22.
  std::vector<std::uint8_t> block(92, 0);
  const auto put16 = [&](std::size_t at, unsigned v) { block[at] = v & 0xFF; block[at + 1] = v >> 8; };
  const auto put32 = [&](std::size_t at, std::uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
  put16(0, 92);
  put16(2, 52);
  const char key[] = "VS_VERSION_INFO";
  for (std::size_t i = 0; i < sizeof key; ++i) put16(6 + 2 * i, static_cast<unsigned char>(key[i]));
  put32(40, 0xFEEF04BD);
  put32(48, (1u << 16) | 11u);  // FileVersionMS: 1.11
  put32(52, (0u << 16) | 22u);  // FileVersionLS: 0.22
  const auto version = ParseVersionInfo(block);
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->major, 1);
  EXPECT_EQ(version->minor, 11);
  EXPECT_EQ(version->revision, 22);

  struct Broken {
    const char* what;
    std::size_t at;
    std::uint8_t value;
  };
  // A length word past the bytes must not send the read beyond them.
  for (const Broken& b : {Broken{"signature", 40, 0}, Broken{"key", 8, 'T'}, Broken{"value length", 2, 10},
                          Broken{"length word past the end", 0, 200}}) {
    SCOPED_TRACE(b.what);
    auto copy = block;
    copy[b.at] = b.value;
    EXPECT_FALSE(ParseVersionInfo(copy).has_value());
  }
  EXPECT_FALSE(ParseVersionInfo(std::span(block).first(60)).has_value());
}

}  // namespace
}  // namespace veltrane::win32
