#include "platform/win32/win32_form.h"

#include <algorithm>

#include "platform/win32/art_library.h"
#include "platform/win32/guarded_call.h"
#include "platform/win32/win32_form_shared.h"
#include "platform/win32/win32_runtime.h"

namespace veltrane::win32 {

using platform::ControlKind;
using namespace form;

// The children and the tool tip go with the window.
void Win32Form::OnDetach() {
  hwnd_ = nullptr;
  tooltip_ = nullptr;
  for (Control& c : controls_) c.hwnd = c.field = nullptr;
}

LRESULT Win32Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_COMMAND:
      OnCommand(reinterpret_cast<HWND>(lp), HIWORD(wp));
      return 0;
    case WM_TIMER: OnTimer(static_cast<int>(wp)); return 0;
    case WM_CLOSE: OnClose(); return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wp), LOWORD(lp))) return TRUE;
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush = OnControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_ACTIVATE:
      if (HIWORD(wp) == 0) {  // not while minimised
        OnActivate(LOWORD(wp) != WA_INACTIVE);
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// A plain window-procedure swap rather than the common controls' subclassing,
// which would load them at start-up. The form is found in GWLP_USERDATA,
// which the system's combo box and edit field leave to their owner.
void Win32Form::Subclass(HWND hwnd, WNDPROC& next) {
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  next = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32Form::KeyUpProc)));
}

LRESULT CALLBACK Win32Form::KeyUpProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  const auto combo = std::find_if(self->controls_.begin(), self->controls_.end(), [&](const Control& c) {
    return c.design.kind == ControlKind::ComboBox && (c.hwnd == hwnd || c.field == hwnd);
  });
  if (combo == self->controls_.end()) return DefWindowProcW(hwnd, msg, wp, lp);
  const WNDPROC next = combo->hwnd == hwnd ? combo->comboNext : combo->fieldNext;
  const int id = combo->design.id;
  return CallGuarded([&]() -> LRESULT {
    const LRESULT result = CallWindowProcW(next, hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
    if (msg == WM_KEYUP || msg == WM_SYSKEYUP) {
      const int shift = (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                        (GetKeyState(VK_MENU) < 0 ? 4 : 0);
      self->events_.OnKeyUp(id, static_cast<int>(wp), shift);
    }
    return result;
  });
}

void Win32Form::OnCommand(HWND control, int code) {
  const Control* c = FindByHwnd(control);
  if (!c || code != BN_CLICKED) return;
  const int id = c->design.id;
  if (c->design.kind == ControlKind::CheckBox) {
    SendMessageW(c->hwnd, BM_SETCHECK, CheckValue(id) == 1 ? BST_UNCHECKED : BST_CHECKED, 0);
    RaiseClick(id);
  } else if (c->design.kind == ControlKind::Button) {
    RaiseClick(id);
  }
}

void Win32Form::OnTimer(int id) {
  if (static_cast<UINT_PTR>(id) == kTooltipTimer) {
    KillTimer(hwnd_, kTooltipTimer);
    AddTooltips();
    return;
  }
  for (const Control& c : controls_)
    if (c.design.id == id && c.design.kind == ControlKind::Timer && c.timerOn) events_.OnTimer(id);
}

void Win32Form::OnClose() {
  if (closeHides_) Hide();
  events_.OnClose();
}

bool Win32Form::OnSetCursor(HWND under, int hitTest) {
  if (hitTest != HTCLIENT) return false;
  if (pointer_ == platform::kPointerHourglass) {
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
    return true;
  }
  // The combo box's text field would show its I-beam: the whole box is one
  // control with one cursor.
  const Control* c = FindByHwnd(under);
  if (!c) c = FindByField(under);
  if (!c) return false;  // the form itself: its class cursor
  SetCursor(c->design.cursor == platform::Cursor::Hand && runtime_
                ? runtime_->Artwork().HandCursor()
                : LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
  return true;
}

// The check box paints its square on the brush given here: its own colour,
// or the part of the background picture that lies under it.
HBRUSH Win32Form::OnControlColour(HDC dc, HWND control) {
  const Control* c = FindByHwnd(control);
  if (!c || c->design.kind != ControlKind::CheckBox) return nullptr;
  SetTextColor(dc, ForeOf(c->design, COLOR_BTNTEXT));
  SetBkMode(dc, TRANSPARENT);
  if (c->back) return c->back.Get();
  if (backgroundBrush_) {
    SetBrushOrgEx(dc, -c->rect.left, -c->rect.top, nullptr);
    return backgroundBrush_.Get();
  }
  return backBrush_.Get();
}

// A window of its own class gets no dialog focus handling: the focus goes
// back to where it was, or to the first control that takes it.
void Win32Form::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    return;
  }
  HWND target = lastFocus_;
  if (!target || !IsWindow(target) || !IsWindowEnabled(target) || !IsWindowVisible(target))
    target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  ::SetFocus(target ? target : hwnd_);
}

bool Win32Form::PreTranslate(MSG& msg) {
  // Enter presses the push button that has the focus; through the button's
  // own window, so the click runs inside a window procedure like any other.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN) {
    const Control* c = FindByHwnd(msg.hwnd);
    if (c && c->design.kind == ControlKind::Button) {
      SendMessageW(c->hwnd, BM_CLICK, 0, 0);
      return true;
    }
  }
  // Tab between the controls that take the focus; Escape and Enter elsewhere
  // become WM_COMMAND IDCANCEL / IDOK, which no control answers.
  return IsDialogMessageW(hwnd_, &msg) != FALSE;
}

void Win32Form::LabelClicked(int id) { RaiseClick(id); }

void Win32Form::RaiseClick(int id) { events_.OnClick(id); }

}  // namespace veltrane::win32
