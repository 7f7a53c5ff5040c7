#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/control_ids.h"
#include "control_names.h"
#include "platform/fake/fake_runtime.h"
#include "windows/form_msg.h"
#include "windows/form_msg_design.h"

namespace veltrane::testing {
namespace {

class FormMsgTest : public ::testing::Test {
 protected:
  FormMsgTest() { runtime.SetControlNames(ControlNames()); }
  platform::Form& form() { return msg.form(); }

  fake::FakeRuntime runtime;
  FormMsg msg{runtime};
};

TEST_F(FormMsgTest, FirstMessageShowsTheWindowWithItsTimer) {
  EXPECT_FALSE(form().IsShown()) << "created hidden";
  const std::size_t mark = runtime.LogMark();
  msg.Display_Msg("\r\nTwo\r\n\r\nlines");
  EXPECT_EQ(runtime.LogSince(mark), (std::vector<std::string>{"Form1.Label_Msg: \r\nTwo\r\n\r\nlines",
                                                              "Form1: show", "Form1.Timer_Msg: timer on"}));
  EXPECT_EQ(form().Caption(), "Form1");
  EXPECT_EQ(runtime.Of(form()).Focus(), ids::Msg_Command_Close) << "the only control that takes it";
}

// The timer runs exactly while the window is shown, whatever the user does.
TEST_F(FormMsgTest, StateTable) {
  struct Step {
    const char* name;
    std::function<void()> act;
    bool shown;
    const char* text;
  };
  const std::vector<Step> steps = {
      {"first message", [&] { msg.Display_Msg("one"); }, true, "one"},
      {"tick", [&] { EXPECT_TRUE(runtime.Tick(form(), ids::Timer_Msg)); }, true, "one"},
      {"second message replaces", [&] { msg.Display_Msg("two"); }, true, "two"},
      {"OK!", [&] { EXPECT_TRUE(runtime.Click(form(), ids::Msg_Command_Close)); }, false, "two"},
      {"no tick while hidden", [&] { EXPECT_FALSE(runtime.Tick(form(), ids::Timer_Msg)); }, false, "two"},
      {"shown again", [&] { msg.Display_Msg("three"); }, true, "three"},
      {"closed by other means", [&] { EXPECT_TRUE(runtime.Close(form())); }, false, "three"},
      {"shown after a close", [&] { msg.Display_Msg(""); }, true, ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(form().IsShown(), step.shown);
    EXPECT_EQ(form().TimerEnabled(ids::Timer_Msg), step.shown);
    EXPECT_EQ(form().Text(ids::Label_Msg), step.text);
  }
  EXPECT_EQ(runtime.Forms().size(), 1u) << "one message window";
  EXPECT_EQ(runtime.Of(form()).RepaintCount(), 1);
}

TEST(MsgLayoutTest, MessageSitsInsideItsFrameAboveTheButton) {
  const platform::FormDesign& design = MsgDesign();
  EXPECT_EQ(design.caption, "Form1");
  EXPECT_EQ(design.clientWidth, 4695);
  EXPECT_EQ(design.clientHeight, 3240);
  EXPECT_EQ(design.back, 0xE0E0E0u);
  EXPECT_FALSE(design.icon);
  const platform::ControlDesign* frame = nullptr;
  const platform::ControlDesign* label = nullptr;
  for (const platform::ControlDesign& c : design.controls) {
    if (c.id == ids::Frame_Msg) frame = &c;
    if (c.id == ids::Label_Msg) label = &c;
    if (c.id == ids::Timer_Msg) {
      EXPECT_EQ(c.interval, 1000);
    }
    if (c.id == ids::Msg_Command_Close) {
      EXPECT_EQ(c.text, "OK!");
    }
  }
  ASSERT_TRUE(frame && label);
  EXPECT_EQ(frame->text, "  -=-  Veltrane  -=-  ");
  EXPECT_EQ(label->container, ids::Frame_Msg);
  EXPECT_LE(label->left + label->width, frame->width);
  EXPECT_LE(label->top + label->height, frame->height);
  EXPECT_TRUE(label->wordWrap);
  EXPECT_EQ(label->align, platform::Align::Centre);
  EXPECT_EQ(label->back, 0xE0E0E0u) << "opaque";
}

}  // namespace
}  // namespace veltrane::testing
