#pragma once
#include <windows.h>

#include <string>

namespace e2e {

// Real input, as a user gives it: the pointer is moved with SetCursorPos and
// the button pressed with SendInput, so the click lands on whatever window
// lies under the point. Under Wine this works without a window manager.

void MoveTo(POINT screen);
void ClickAt(POINT screen);
// Clicks the control's centre after checking that no other top-level window
// covers it; on refusal `why` says what lies there.
bool ClickControl(HWND control, std::string& why);
void TapKey(WORD virtualKey);

}  // namespace e2e
