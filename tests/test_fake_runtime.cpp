// The fake runtime decides what a user can do and when queued actions land;
// the behaviour tests of the program rely on these rules.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "platform/fake/fake_runtime.h"

namespace veltrane::fake {
namespace {

using platform::ControlDesign;
using platform::ControlKind;

constexpr int kBox = 1, kCombo = 2, kButton = 3, kTimer = 4;
constexpr std::array<ControlDesign, 4> kControls{{
    {.id = kButton, .kind = ControlKind::Button, .text = "Go"},
    {.id = kBox, .kind = ControlKind::CheckBox},
    {.id = kCombo, .kind = ControlKind::ComboBox, .text = "Combo1"},
    {.id = kTimer, .kind = ControlKind::Timer, .interval = 1000},
}};
constexpr platform::FormDesign kDesign{.caption = "Test", .controls = kControls};

struct Recorder : platform::FormEvents {
  std::vector<int> clicks, keys, ticks;
  int closes = 0;
  void OnClick(int id) override { clicks.push_back(id); }
  void OnKeyUp(int id, int, int) override { keys.push_back(id); }
  void OnTimer(int id) override { ticks.push_back(id); }
  void OnClose() override { ++closes; }
};

class FakeRuntimeTest : public ::testing::Test {
 protected:
  FakeRuntime rt;
  Recorder events;
  std::unique_ptr<platform::Form> form = rt.CreateForm(kDesign, events);
};

TEST_F(FakeRuntimeTest, StartsFromTheDesign) {
  EXPECT_EQ(form->Caption(), "Test");
  EXPECT_FALSE(form->IsShown());
  EXPECT_EQ(form->Text(kCombo), "Combo1");
  EXPECT_EQ(form->ListIndex(kCombo), -1);
  EXPECT_TRUE(form->TimerEnabled(kTimer));
  form->Show();
  EXPECT_EQ(rt.Of(*form).Focus(), kButton) << "first focusable control of the table";
}

TEST_F(FakeRuntimeTest, UserCannotReachHiddenWindowsOrDisabledControls) {
  EXPECT_FALSE(rt.Click(*form, kButton)) << "hidden window";
  form->Show();
  form->SetEnabled(kCombo, false);
  EXPECT_FALSE(rt.Click(*form, kCombo));
  EXPECT_FALSE(rt.KeyUp(*form, kCombo, 40));
  EXPECT_FALSE(rt.ChooseItem(*form, kCombo, 0));
  EXPECT_TRUE(events.clicks.empty());
  EXPECT_TRUE(events.keys.empty());
  EXPECT_TRUE(rt.Click(*form, kButton));
  EXPECT_EQ(events.clicks, std::vector<int>{kButton});
}

TEST_F(FakeRuntimeTest, CheckBoxClicksToggleAndCodeRaisesClickOnlyOnChange) {
  form->Show();
  rt.Click(*form, kBox);
  EXPECT_EQ(form->CheckValue(kBox), 1);
  form->SetCheckValue(kBox, 1);  // no change
  form->SetCheckValue(kBox, 0);
  EXPECT_EQ(events.clicks, (std::vector<int>{kBox, kBox}));
}

TEST_F(FakeRuntimeTest, ComboFieldFollowsSelection) {
  form->AddItem(kCombo, "a");
  form->AddItem(kCombo, "b");
  form->SetListIndex(kCombo, 1);
  EXPECT_EQ(form->Text(kCombo), "b");
  form->SetText(kCombo, "a");
  EXPECT_EQ(form->ListIndex(kCombo), 0);
  form->Show();
  rt.PasteText(*form, kCombo, "a");
  EXPECT_EQ(form->ListIndex(kCombo), -1) << "pasted text selects nothing";
  form->ClearItems(kCombo);
  EXPECT_EQ(form->Text(kCombo), "");
  EXPECT_THROW(form->SetListIndex(kCombo, 0), std::out_of_range);
}

TEST_F(FakeRuntimeTest, QueuedActionsLandAtTheirEventsPointEvenNested) {
  form->Show();
  rt.QueueClick(2, "Test", kButton);
  rt.QueueAt(1, [&] { rt.DoEvents(); });  // a handler that lets events run itself
  rt.QueueKeyUp(3, "Test", kCombo, 13);
  rt.DoEvents();
  EXPECT_EQ(events.clicks, std::vector<int>{kButton}) << rt.ToString();
  EXPECT_TRUE(events.keys.empty());
  rt.DoEvents();
  EXPECT_EQ(events.keys, std::vector<int>{kCombo});
  EXPECT_EQ(rt.PendingActions(), 0);
  EXPECT_EQ(rt.LogSince(rt.LogMark() - 2),
            (std::vector<std::string>{"events #3", "keyup Test.#2 13"}));
}

TEST_F(FakeRuntimeTest, OnlyOkCancelBoxesTakeScriptedAnswers) {
  rt.QueueAnswer(platform::kAnswerCancel);
  EXPECT_EQ(rt.ShowMessage("hi", "T", platform::kMsgOkOnly), platform::kAnswerOk);
  EXPECT_EQ(rt.ShowMessage("sure?", "T", platform::kMsgOkCancel), platform::kAnswerCancel);
  EXPECT_EQ(rt.ShowMessage("sure?", "T", platform::kMsgOkCancel), platform::kAnswerOk);
  EXPECT_EQ(rt.Log().back(), "msgbox [T] sure? (OkCancel) -> Ok");
  ASSERT_EQ(rt.MessageBoxes().size(), 3u);
}

TEST_F(FakeRuntimeTest, TimerTicksOnlyWhileOnAndCloseHidesFirst) {
  form->SetTimerEnabled(kTimer, false);
  EXPECT_FALSE(rt.Tick(*form, kTimer));
  form->SetTimerEnabled(kTimer, true);
  EXPECT_TRUE(rt.Tick(*form, kTimer));
  EXPECT_EQ(events.ticks, std::vector<int>{kTimer});
  EXPECT_FALSE(rt.Close(*form)) << "hidden";
  form->Show();
  EXPECT_TRUE(rt.Close(*form));
  EXPECT_FALSE(form->IsShown());
  EXPECT_EQ(events.closes, 1);
}

TEST_F(FakeRuntimeTest, EndThrowsAndFormsOutliveTheRuntimeSafely) {
  EXPECT_THROW(rt.End(), ProgramEnded);
  EXPECT_TRUE(rt.Ended());
  auto other = std::make_unique<FakeRuntime>();
  auto orphan = other->CreateForm(kDesign, events);
  EXPECT_NE(orphan->Handle(), 0u);
  other.reset();
  orphan->SetCaption("still fine");
}

}  // namespace
}  // namespace veltrane::fake
