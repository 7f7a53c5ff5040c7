#pragma once
#include <windows.h>

#include <string>

namespace e2e {

// Real input, as a user gives it: SendInput moves the pointer and presses the
// button, so the click lands on whatever window lies under the point. Under
// Wine this works without a window manager.

// Moves the pointer and waits until it is there.
bool MoveTo(POINT screen);
// A press and a release at the point; the caller waits for what it causes.
bool ClickAt(POINT screen);
// Clicks the control's centre once it can take the click (shown, enabled, not
// covered by another top-level window, its program waiting for input), and
// waits until the control has taken the press and the release. On refusal
// `why` says what was wrong.
bool ClickControl(HWND control, std::string& why);
void TapKey(WORD virtualKey);
// The window that has the keyboard focus in the thread owning `window`.
HWND FocusOf(HWND window);

}  // namespace e2e
