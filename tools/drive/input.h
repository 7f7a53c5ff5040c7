#pragma once
#include <windows.h>

#include <string>

namespace e2e {

// Real input, as a user gives it: SendInput moves the pointer and presses the
// button, so the click lands on whatever window lies under the point. Under
// Wine this works without a window manager.

// Moves the pointer and waits until it is there.
bool MoveTo(POINT screen);
// Clicks the control at a point on the screen once it can take the click
// (shown, enabled, the window there is the control or one of its children,
// its program waiting for input), and waits until the window there has taken
// the press and the release. The caller waits for what the click causes. On
// refusal `why` says what was wrong.
bool ClickControlAt(HWND control, POINT screen, std::string& why);
// The same at the control's centre.
bool ClickControl(HWND control, std::string& why);
// For a point whose window does not hold the mouse (a combo box's border): the
// click once the control can take it, and nothing more; the caller waits for
// what it causes.
bool ClickWhenReady(HWND control, POINT screen, std::string& why);
// For a click that is timed, or given while its program is too busy to count
// as waiting for input: waits until the control can take a click at the point
// (as above, but whatever its program is doing) and puts the pointer there.
bool AimAt(HWND control, POINT screen, std::string& why);
// The press and the release at the point, each carrying it, and nothing more.
void PressAt(POINT screen);
void TapKey(WORD virtualKey);
// The window that has the keyboard focus in the thread owning `window`.
HWND FocusOf(HWND window);

}  // namespace e2e
