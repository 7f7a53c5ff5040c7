#pragma once
#include "platform/form_design.h"

namespace veltrane {

// Form_Main: the three status rows and the two action pictures on the left,
// logo, notices, web link and wipe settings on the right.
const platform::FormDesign& MainDesign();

}  // namespace veltrane
