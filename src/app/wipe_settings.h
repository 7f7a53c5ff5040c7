#pragma once

namespace veltrane {

class AppContext;

// The wipe settings live only in Check_Wipe and Combo_Pass of the main window.
void FillPassCombo(AppContext& app);
void Check_Wipe_Click(AppContext& app);
void Label_Wipe_Click(AppContext& app);
void Combo_Pass_KeyUp(AppContext& app);

}  // namespace veltrane
