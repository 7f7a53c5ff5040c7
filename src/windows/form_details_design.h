#pragma once
#include "platform/form_design.h"

namespace veltrane {

// Form_Details: one list and a "CLOSE" button inside a white frame, on the
// main window's background picture.
const platform::FormDesign& DetailsDesign();

}  // namespace veltrane
