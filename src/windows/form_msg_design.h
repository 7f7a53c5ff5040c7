#pragma once
#include "platform/form_design.h"

namespace veltrane {

// Form_Msg: a framed, centred message and an "OK!" button on a grey window.
const platform::FormDesign& MsgDesign();

}  // namespace veltrane
