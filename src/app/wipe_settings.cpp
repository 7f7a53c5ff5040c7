#include "app/wipe_settings.h"

#include "core/control_ids.h"

namespace veltrane {

void FillPassCombo(platform::Form& main) {
  main.ClearItems(ids::Combo_Pass);  // a refill never repeats items
  main.AddItem(ids::Combo_Pass, "1 Pass    (normal)");
  main.AddItem(ids::Combo_Pass, "3 Passes (secure)");
  main.AddItem(ids::Combo_Pass, "7 Passes (ultra-secure)");
  main.SetListIndex(ids::Combo_Pass, 0);
}

void Check_Wipe_Click(platform::Form& main) {
  main.SetEnabled(ids::Combo_Pass, main.CheckValue(ids::Check_Wipe) == 1);
}

// The code change raises Check_Wipe's click, which enables or disables the list.
void Label_Wipe_Click(platform::Form& main) {
  main.SetCheckValue(ids::Check_Wipe, main.CheckValue(ids::Check_Wipe) == 1 ? 0 : 1);
}

// Any key released in the list puts it back on its first item: typed text
// and keyboard choices never stand.
void Combo_Pass_KeyUp(platform::Form& main) { FillPassCombo(main); }

}  // namespace veltrane
