#include "input.h"

#include "probe.h"
#include "wait.h"

namespace e2e {

namespace {
// Wine maps 0..65535 onto the screen rounding down; rounding up here lands on
// the very pixel asked for.
LONG Normalised(LONG at, int extent) {
  return static_cast<LONG>((static_cast<LONGLONG>(at) * 65536 + extent - 1) / extent);
}

// Every mouse event carries its own point. The program's X11 driver can still
// hold a motion event from before the harness moved the pointer (its window
// was mapped under the old place, say) and hand it on late, which moves the
// pointer back; a press that trusted the earlier move would land there.
void SendMouseAt(POINT screen, DWORD buttons) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = Normalised(screen.x, GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = Normalised(screen.y, GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
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

GUITHREADINFO ThreadInfoOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) info = {};
  return info;
}

HWND CaptureOf(HWND window) { return ThreadInfoOf(window).hwndCapture; }

// The window that must be in front for a click on the control to count: its
// top-level window. Wine activates a window that is clicked while another is
// in front, and when that fails it drops the click. A drop-down list is never
// activated (null): it shows only while its combo box has the focus.
HWND FrontFor(HWND control) {
  const HWND root = GetAncestor(control, GA_ROOT);
  return ClassName(root) == L"ComboLBox" ? nullptr : root;
}

// What keeps the control from taking a click at the point now; empty when
// nothing does. `hit` is the window there.
std::string NotReady(HWND control, POINT screen, HWND& hit) {
  if (!IsWindow(control)) return "control does not exist";
  if (!IsWindowVisible(control)) return "control is hidden";
  if (!IsWindowEnabled(control) || !IsWindowEnabled(GetAncestor(control, GA_ROOT)))
    return "control or its window is disabled";
  const HWND front = FrontFor(control);
  if (front && GetForegroundWindow() != front) {
    // As a user's first click would, but without a click that may be lost.
    SetForegroundWindow(front);
    return "its window is not in front (" + Quote(Text(GetForegroundWindow())) + " is)";
  }
  hit = WindowFromPoint(screen);
  if (hit != control && !IsChild(control, hit))
    return "covered at the point by a " + Utf8(ClassName(hit)) + " window in one titled " +
           Quote(Text(GetAncestor(hit, GA_ROOT)));
  return {};
}
}  // namespace

bool MoveTo(POINT screen) {
  SendMouseAt(screen, 0);
  return WaitFor(
      [&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == screen.x && now.y == screen.y;
      },
      kReadyTimeoutMs);
}

namespace {
// Waits until nothing keeps the control from taking a click at the point;
// `hit` is the window there.
bool Clickable(HWND control, POINT screen, HWND& hit, std::string& why) {
  if (!control) {
    why = "control does not exist";
    return false;
  }
  if (!WaitFor([&] { return (why = NotReady(control, screen, hit)).empty(); }, kReadyTimeoutMs)) {
    why += " (for 20 s)";
    return false;
  }
  return true;
}

bool PointerTo(POINT screen, std::string& why) {
  if (MoveTo(screen)) return true;
  why = "the pointer did not reach the control within 20 s";
  return false;
}

// Waits until the control can take a click at the point and its program waits
// for input, and puts the pointer there.
bool ReadyToClick(HWND control, POINT screen, HWND& hit, std::string& why) {
  if (!Clickable(control, screen, hit, why)) return false;
  if (!WaitProgramIdle(control, kReadyTimeoutMs)) {
    why = "its program did not wait for input within 20 s";
    return false;
  }
  return PointerTo(screen, why);
}
}  // namespace

bool AimAt(HWND control, POINT screen, std::string& why) {
  HWND hit = nullptr;
  return Clickable(control, screen, hit, why) && PointerTo(screen, why);
}

void PressAt(POINT screen) {
  SendMouseAt(screen, MOUSEEVENTF_LEFTDOWN);
  SendMouseAt(screen, MOUSEEVENTF_LEFTUP);
}

bool ClickControl(HWND control, std::string& why) {
  return ClickControlAt(control, CentreOnScreen(control), why);
}

bool ClickWhenReady(HWND control, POINT screen, std::string& why) {
  HWND hit = nullptr;
  if (!ReadyToClick(control, screen, hit, why)) return false;
  PressAt(screen);
  return true;
}

bool ClickControlAt(HWND control, POINT screen, std::string& why) {
  HWND hit = nullptr;
  if (!ReadyToClick(control, screen, hit, why)) return false;
  // Labels, buttons, edit fields and lists alike hold the mouse from the
  // press to the release: seeing both is seeing the program take the click.
  // (A drop-down list holds it already; its release still shows.)
  SendMouseAt(screen, MOUSEEVENTF_LEFTDOWN);
  const bool pressed = WaitFor([&] { return CaptureOf(hit) == hit; }, kEffectTimeoutMs);
  SendMouseAt(screen, MOUSEEVENTF_LEFTUP);
  if (!pressed) {
    why = "the control did not take the press within 20 s";
    return false;
  }
  if (!WaitFor([&] { return CaptureOf(hit) != hit; }, kEffectTimeoutMs)) {
    why = "the control did not take the release within 20 s";
    return false;
  }
  return true;
}

void TapKey(WORD virtualKey) {
  SendKey(virtualKey, 0);
  SendKey(virtualKey, KEYEVENTF_KEYUP);
}

HWND FocusOf(HWND window) { return ThreadInfoOf(window).hwndFocus; }

}  // namespace e2e
