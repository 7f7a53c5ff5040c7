// The program's own windows on the real runtime: where their controls
// overlap, which one the mouse reaches, which cursor it shows, and what the
// keys do on the message window.
#include <gtest/gtest.h>

#include "app/form_main_design.h"
#include "core/control_ids.h"
#include "platform/win32/win32_runtime.h"
#include "runtime_events.h"
#include "windows/form_msg.h"

namespace veltrane::win32 {
namespace {

struct Recorder : platform::FormEvents {
  std::vector<int> clicks;
  void OnClick(int id) override { clicks.push_back(id); }
};

class ProgramWindowsTest : public ::testing::Test {
 protected:
  void RunEvents(int ms) { RunEventsFor(runtime, ms); }

  Win32Runtime runtime;
};

class MainWindowTest : public ProgramWindowsTest {
 protected:
  HWND Form() const { return reinterpret_cast<HWND>(form->Handle()); }
  HWND Child(int id) const { return GetDlgItem(Form(), id); }
  // The control the mouse reaches at a point of the client area.
  HWND Under(POINT at) const { return ChildWindowFromPointEx(Form(), at, CWP_SKIPINVISIBLE); }
  RECT RectInForm(HWND child) const { return RectInParent(child, Form()); }

  Recorder events;
  std::unique_ptr<platform::Form> form = runtime.CreateForm(MainDesign(), events);
};

// Label2 ends on the top row of Check_Wipe and Label_Wipe on the top row of
// Combo_Pass: those rows belong to the input controls.
TEST_F(MainWindowTest, InputControlsLieAboveTheLabelsThatOverlapThem) {
  struct Case {
    int control, label;
  };
  for (const Case& c : {Case{ids::Check_Wipe, ids::Label2}, Case{ids::Combo_Pass, ids::Label_Wipe}}) {
    SCOPED_TRACE(c.control);
    const RECT input = RectInForm(Child(c.control));
    const RECT label = RectInForm(Child(c.label));
    ASSERT_EQ(label.bottom - 1, input.top) << "the design's one-row overlap";
    const POINT topRow{std::max(input.left, label.left) + 2, input.top};
    EXPECT_EQ(Under(topRow), Child(c.control));
  }
  // Labels still lie above the pictures they overlap.
  const RECT forLabel = RectInForm(Child(ids::Label_For));
  EXPECT_EQ(Under({(forLabel.left + forLabel.right) / 2, forLabel.top + 1}), Child(ids::Label_For));
}

TEST_F(MainWindowTest, ArrowOverTheWholePassListItsTextFieldIncluded) {
  form->SetEnabled(ids::Combo_Pass, true);
  const HCURSOR arrow = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(Child(ids::Combo_Pass), &info));
  for (HWND part : {info.hwndItem, info.hwndCombo}) {
    SetCursor(nullptr);
    SendMessageW(part, WM_SETCURSOR, reinterpret_cast<WPARAM>(part), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow) << (part == info.hwndItem ? "text field" : "box");
  }
}

class MessageWindowTest : public ProgramWindowsTest {
 protected:
  HWND Window() { return reinterpret_cast<HWND>(msg.form().Handle()); }
  HWND Ok() { return GetDlgItem(Window(), ids::Msg_Command_Close); }
  // What the keyboard sends to the window that has the focus.
  void Press(WPARAM key) {
    HWND focus = GetFocus();
    PostMessageW(focus, WM_KEYDOWN, key, 1);
    PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
    RunEvents(60);
  }
  void Display() {
    msg.Display_Msg("Done.\r\n\r\nAll clean.");
    RunEvents(60);
  }

  FormMsg msg{runtime};
};

TEST_F(MessageWindowTest, OkHasTheFocusEnterAndSpacePressItEscapeDoesNothing) {
  for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_SPACE}}) {
    SCOPED_TRACE(key);
    Display();
    ASSERT_TRUE(msg.form().IsShown());
    EXPECT_EQ(GetFocus(), Ok()) << "the only control that takes the focus";
    Press(VK_ESCAPE);
    EXPECT_TRUE(msg.form().IsShown()) << "Escape";
    EXPECT_TRUE(msg.form().TimerEnabled(ids::Timer_Msg));
    EXPECT_EQ(GetFocus(), Ok());
    Press(key);
    EXPECT_FALSE(msg.form().IsShown());
    EXPECT_FALSE(msg.form().TimerEnabled(ids::Timer_Msg));
  }
}

}  // namespace
}  // namespace veltrane::win32
