#include "windows/form_msg_design.h"

#include "core/control_ids.h"

namespace veltrane {

namespace {

using platform::ControlKind;

constexpr platform::Colour kGrey = 0xE0E0E0;
constexpr platform::Font kBold975{.tenthsOfPoint = 98, .bold = true};
constexpr platform::Font kRegular975{.tenthsOfPoint = 98, .bold = false};

// Only the button can take the focus; the frame and label precede it in the
// tab order.
constexpr platform::ControlDesign kControls[] = {
    {.id = ids::Shape_Msg, .kind = ControlKind::Shape, .left = 0, .top = 0, .width = 4695,
     .height = 3240, .back = platform::kTransparent, .border = 3},
    {.id = ids::Frame_Msg, .kind = ControlKind::Frame, .left = 120, .top = 120, .width = 4455,
     .height = 2535, .text = "  -=-  Veltrane  -=-  ", .font = kRegular975, .back = kGrey},
    {.id = ids::Label_Msg, .kind = ControlKind::Label, .left = 120, .top = 360, .width = 4215,
     .height = 2055, .font = kBold975, .back = kGrey, .align = platform::Align::Centre,
     .container = ids::Frame_Msg, .wordWrap = true},
    {.id = ids::Msg_Command_Close, .kind = ControlKind::Button, .left = 1200, .top = 2760,
     .width = 2295, .height = 375, .text = "OK!"},
    {.id = ids::Timer_Msg, .kind = ControlKind::Timer, .interval = 1000},
};

constexpr platform::FormDesign kDesign = {
    .caption = "Form1",
    .clientWidth = 4695,
    .clientHeight = 3240,
    .back = kGrey,
    .icon = false,
    .closeHides = true,
    .controls = kControls,
};

}  // namespace

const platform::FormDesign& MsgDesign() { return kDesign; }

}  // namespace veltrane
