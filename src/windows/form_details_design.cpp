#include "windows/form_details_design.h"

#include "core/control_ids.h"

namespace veltrane {

namespace {

using platform::ControlKind;

constexpr platform::Colour kWhite = 0xFFFFFF;

// The order is the tab order: the list first, then the button.
constexpr platform::ControlDesign kControls[] = {
    {.id = ids::Details_Shape1, .kind = ControlKind::Shape, .left = 60, .top = 60, .width = 4815,
     .height = 3645, .fore = kWhite, .back = platform::kTransparent, .border = 2},
    {.id = ids::List_Details, .kind = ControlKind::ListBox, .left = 120, .top = 120, .width = 4695,
     .height = 3180},
    {.id = ids::Details_Command_Close, .kind = ControlKind::Button, .left = 1560, .top = 3360,
     .width = 1815, .height = 255, .text = "CLOSE", .cursor = platform::Cursor::Hand},
};

constexpr platform::FormDesign kDesign = {
    .caption = "Veltrane - Details",
    .clientWidth = 4920,
    .clientHeight = 3750,
    .background = platform::Art::Background,
    .icon = false,
    .closeHides = true,
    .controls = kControls,
};

}  // namespace

const platform::FormDesign& DetailsDesign() { return kDesign; }

}  // namespace veltrane
