#pragma once

#include "platform/runtime.h"

namespace veltrane {

// The wipe settings live only in Check_Wipe and Combo_Pass of the main
// window `main`.
void FillPassCombo(platform::Form& main);
void Check_Wipe_Click(platform::Form& main);
void Label_Wipe_Click(platform::Form& main);
void Combo_Pass_KeyUp(platform::Form& main);

}  // namespace veltrane
