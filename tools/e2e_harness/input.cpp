#include "input.h"

#include "probe.h"
#include "wait.h"

namespace e2e {

namespace {
void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void SendKey(WORD virtualKey, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}
}  // namespace

void MoveTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  // A relative move of zero makes the pointer's new place an input event, as
  // a real move is; tool tips and hover tracking wait for one.
  SendMouse(MOUSEEVENTF_MOVE);
  PumpFor(30);
}

void ClickAt(POINT screen) {
  MoveTo(screen);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  PumpFor(40);
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpFor(40);
}

bool ClickControl(HWND control, std::string& why) {
  if (!control || !IsWindow(control)) {
    why = "control does not exist";
    return false;
  }
  if (!IsWindowVisible(control)) {
    why = "control is hidden";
    return false;
  }
  const POINT centre = CentreOnScreen(control);
  const HWND hit = WindowFromPoint(centre);
  // A label may let the hit test through to its window; any window of the
  // same top-level window will do, another top-level window covers it.
  if (GetAncestor(hit, GA_ROOT) != GetAncestor(control, GA_ROOT)) {
    why = "covered at its centre by a " + Utf8(ClassName(hit)) + " window titled " + Quote(Text(GetAncestor(hit, GA_ROOT)));
    return false;
  }
  ClickAt(centre);
  return true;
}

void TapKey(WORD virtualKey) {
  SendKey(virtualKey, 0);
  PumpFor(40);
  SendKey(virtualKey, KEYEVENTF_KEYUP);
  PumpFor(40);
}

}  // namespace e2e
