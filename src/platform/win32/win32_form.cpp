#include "platform/win32/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/win32/art_library.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/guarded_call.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_runtime.h"

namespace veltrane::win32 {

using platform::ControlDesign;
using platform::ControlKind;

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kDropDownHeight = 120;  // the combo box's list: about eight items
constexpr int kFrameTextIndent = 8;
// Above every design id, which are also the ids of the design's timers.
constexpr UINT_PTR kTooltipTimer = 0x7FFF;

int Px(int twips) { return MulDiv(twips, 1, kTwipsPerPixel); }

bool HasColour(platform::Colour c) {
  return c != platform::kDefaultColour && c != platform::kTransparent;
}

COLORREF ForeOf(const ControlDesign& d, int systemColour) {
  return HasColour(d.fore) ? ToColorRef(d.fore) : GetSysColor(systemColour);
}

// Where a control's container puts it: frames are painted on the form, so
// what they hold lies on the form too, shifted by the frame's place.
POINT ContainerOrigin(const platform::FormDesign& form, const ControlDesign& control) {
  POINT origin{0, 0};
  int container = control.container;
  for (std::size_t hops = 0; container != 0 && hops < form.controls.size(); ++hops) {
    const auto frame = std::find_if(form.controls.begin(), form.controls.end(),
                                    [&](const ControlDesign& d) { return d.id == container; });
    if (frame == form.controls.end()) break;
    origin.x += Px(frame->left);
    origin.y += Px(frame->top);
    container = frame->container;
  }
  return origin;
}

UINT AlignFlag(platform::Align align) {
  switch (align) {
    case platform::Align::Centre: return DT_CENTER;
    case platform::Align::Right: return DT_RIGHT;
    case platform::Align::Left: break;
  }
  return DT_LEFT;
}

std::string WindowText(HWND hwnd) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), int(text.size()))));
  return Narrow(text);
}

// The combo box and the list box take the same requests under different
// message numbers. Both answer CB_ERR / LB_ERR (-1) for "none" or failure.
struct ItemMessages {
  UINT reset, add, count, textLength, text, getSelection, setSelection;
};
constexpr ItemMessages kComboMessages{CB_RESETCONTENT, CB_ADDSTRING,    CB_GETCOUNT, CB_GETLBTEXTLEN,
                                      CB_GETLBTEXT,    CB_GETCURSEL,    CB_SETCURSEL};
constexpr ItemMessages kListMessages{LB_RESETCONTENT, LB_ADDSTRING, LB_GETCOUNT, LB_GETTEXTLEN,
                                     LB_GETTEXT,      LB_GETCURSEL, LB_SETCURSEL};

}  // namespace

void Win32Form::RegisterWindowClass(HINSTANCE module) { RegisterBoundClass<Win32Form>(module, kClass); }

Win32Form::Win32Form(Win32Runtime& runtime, const platform::FormDesign& design,
                     platform::FormEvents& events)
    : runtime_(&runtime),
      events_(events),
      caption_(design.caption),
      backColour_(HasColour(design.back) ? ToColorRef(design.back) : GetSysColor(COLOR_BTNFACE)),
      backBrush_(CreateSolidBrush(backColour_)),
      background_(runtime.Artwork().Bitmap(design.background)),
      closeHides_(design.closeHides) {
  if (background_) backgroundBrush_.Reset(CreatePatternBrush(background_));
  // A window with the program's icon is the application's window: it can be
  // minimised. The others are fixed dialogs without an icon in the caption.
  const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (design.icon ? WS_MINIMIZEBOX : 0);
  const DWORD exStyle = design.icon ? 0 : WS_EX_DLGMODALFRAME;
  RECT outer{0, 0, Px(design.clientWidth), Px(design.clientHeight)};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  CreateWindowExW(exStyle, kClass, Widen(caption_).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                  outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                  runtime.Module(), this);
  if (!hwnd_) throw std::runtime_error("cannot create the window \"" + caption_ + "\"");
  if (design.icon) {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(runtime.Artwork().Icon(32)));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(runtime.Artwork().Icon(16)));
  }
  Build(design);
}

Win32Form::~Win32Form() {
  if (runtime_) runtime_->Forget(*this);
  if (hwnd_) DestroyWindow(hwnd_);
}

void Win32Form::RuntimeGone() {
  runtime_ = nullptr;
  if (hwnd_) DestroyWindow(hwnd_);
}

void Win32Form::Build(const platform::FormDesign& design) {
  controls_.reserve(design.controls.size());
  for (const ControlDesign& d : design.controls) {
    Control c;
    c.design = d;
    const POINT o = ContainerOrigin(design, d);
    if (d.kind == ControlKind::Line)
      c.rect = {o.x + Px(d.left), o.y + Px(d.top), o.x + Px(d.width), o.y + Px(d.height)};
    else
      c.rect = {o.x + Px(d.left), o.y + Px(d.top), o.x + Px(d.left + d.width), o.y + Px(d.top + d.height)};
    controls_.push_back(std::move(c));
  }
  // The first created lies on top where two overlap. Input controls first:
  // a label beside one must not cover its border nor take its clicks. Then
  // labels, so text is never hidden under a picture (a transparent label
  // shows the pictures under it, see PaintUnder); frames last, under what
  // they hold. Within a rank, design order, which is the tab order.
  const auto rank = [](ControlKind kind) {
    switch (kind) {
      case ControlKind::Label: return 1;
      case ControlKind::Picture: return 2;
      case ControlKind::Frame: return 3;
      default: return 0;
    }
  };
  for (int pass = 0; pass < 4; ++pass)
    for (Control& c : controls_)
      if (rank(c.design.kind) == pass) CreateChild(c);
}

void Win32Form::CreateChild(Control& c) {
  const ControlDesign& d = c.design;
  const RECT& r = c.rect;
  const int w = r.right - r.left, h = r.bottom - r.top;
  const HFONT font = runtime_->Fonts().Get(d.font);
  const auto menuId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id));
  const DWORD child = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  const auto create = [&](DWORD exStyle, const wchar_t* cls, DWORD style, int height) {
    return CreateWindowExW(exStyle, cls, Widen(d.text).c_str(), child | style, r.left, r.top, w,
                           height, hwnd_, menuId, runtime_->Module(), nullptr);
  };
  switch (d.kind) {
    case ControlKind::Label:
    case ControlKind::Picture:
    case ControlKind::Frame: {
      LabelLook look;
      look.role = d.kind == ControlKind::Picture ? LabelRole::Picture
                  : d.kind == ControlKind::Frame ? LabelRole::Frame
                                                 : LabelRole::Label;
      look.font = font;
      look.fore = ForeOf(d, COLOR_WINDOWTEXT);
      look.transparent = !HasColour(d.back);
      look.back = HasColour(d.back) ? ToColorRef(d.back) : backColour_;
      look.align = AlignFlag(d.align);
      look.border = d.border > 0;
      look.wordWrap = d.wordWrap;
      look.bitmap = runtime_->Artwork().Bitmap(d.picture);
      c.label = std::make_unique<LabelWindow>(hwnd_, d.id, r, look, std::string(d.text),
                                              static_cast<LabelHost&>(*this));
      c.hwnd = c.label->Hwnd();
      break;
    }
    case ControlKind::Button:
      c.hwnd = create(0, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, h);
      break;
    case ControlKind::CheckBox:
      // Not BS_AUTOCHECKBOX: the form ticks the box itself, so a change made
      // by code and a user's click go the same way (OnCommand, SetCheckValue).
      c.hwnd = create(0, L"BUTTON", WS_TABSTOP | BS_CHECKBOX, h);
      if (HasColour(d.back)) c.back.Reset(CreateSolidBrush(ToColorRef(d.back)));
      break;
    case ControlKind::ComboBox: {
      // The window's height includes the list that drops down; the field
      // itself takes the height of its font, as the design's does.
      c.hwnd = create(0, L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                      h + kDropDownHeight);
      SetWindowTextW(c.hwnd, Widen(d.text).c_str());  // the creation text is not the field's
      if (!c.hwnd) break;
      Subclass(c.hwnd, c.comboNext);
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (GetComboBoxInfo(c.hwnd, &info) && info.hwndItem) {
        c.field = info.hwndItem;
        Subclass(c.field, c.fieldNext);
      }
      break;
    }
    case ControlKind::ListBox:
      c.hwnd = create(WS_EX_CLIENTEDGE, L"LISTBOX",
                      WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, h);
      break;
    case ControlKind::Timer:
      if (d.interval > 0) c.timerOn = SetTimer(hwnd_, static_cast<UINT_PTR>(d.id), UINT(d.interval), nullptr) != 0;
      break;
    case ControlKind::Shape:
    case ControlKind::Line:
      break;
  }
  if (c.hwnd && !c.label) SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

// Tool tips only matter under a mouse that rests on a shown window, so they
// are made once the window is first up and painted (a timer message comes
// after the paint): the common controls cost ~5 ms under Wine at start-up.
void Win32Form::AddTooltips() {
  if (tooltip_ || !runtime_ || !runtime_->LoadCommonControls()) return;
  for (const Control& c : controls_) {
    if (!c.hwnd || c.design.tooltip.empty()) continue;
    if (!tooltip_)
      tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, runtime_->Module(), nullptr);
    std::wstring wide = Widen(c.design.tooltip);
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;  // accepted by every comctl32 version
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
    tool.lpszText = wide.data();  // copied by the tool tip
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

Win32Form::Control& Win32Form::At(int id) {
  return const_cast<Control&>(std::as_const(*this).At(id));
}

const Win32Form::Control& Win32Form::At(int id) const {
  for (const Control& c : controls_)
    if (c.design.id == id) return c;
  throw std::out_of_range("window \"" + caption_ + "\" has no control " + std::to_string(id));
}

Win32Form::Control* Win32Form::FindByHwnd(HWND hwnd) {
  if (!hwnd) return nullptr;
  for (Control& c : controls_)
    if (c.hwnd == hwnd) return &c;
  return nullptr;
}

const Win32Form::Control* Win32Form::FindByField(HWND hwnd) const {
  if (!hwnd) return nullptr;
  for (const Control& c : controls_)
    if (c.field == hwnd) return &c;
  return nullptr;
}

// --- window procedure

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

// --- painting

void Win32Form::OnPaint() {
  PaintScope paint(hwnd_);
  RECT client;
  GetClientRect(hwnd_, &client);
  BufferedPaint buffer(paint.Get(), client.right, client.bottom);
  PaintSurface(buffer.Get());
}

// Under a label lie the form's surface and the pictures, which are below
// every label.
void Win32Form::PaintUnder(HDC dc, POINT origin) {
  POINT old;
  SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  PaintSurface(dc);
  for (auto c = controls_.rbegin(); c != controls_.rend(); ++c) {
    if (!c->visible || !c->label || !c->label->IsOpaquePicture()) continue;
    SetViewportOrgEx(dc, c->rect.left - origin.x, c->rect.top - origin.y, nullptr);
    c->label->Paint(dc);
  }
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
}

void Win32Form::LabelClicked(int id) { RaiseClick(id); }

void Win32Form::RaiseClick(int id) { events_.OnClick(id); }

// The form's own surface: back colour, background picture drawn unscaled
// from the top-left corner, then frames, shapes and lines in design order.
void Win32Form::PaintSurface(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, backBrush_.Get());
  if (background_) {
    MemoryDc picture(dc);
    Selection chosen(picture.Get(), background_);
    const SIZE size = BitmapSize(background_);
    BitBlt(dc, 0, 0, size.cx, size.cy, picture.Get(), 0, 0, SRCCOPY);
  }
  for (const Control& c : controls_) {
    if (!c.visible) continue;
    const ControlDesign& d = c.design;
    if (d.kind == ControlKind::Frame) {
      PaintFrame(dc, c);
    } else if (d.kind == ControlKind::Shape) {
      // Inside frame: a wide outline stays within the shape's box.
      PenHandle pen(CreatePen(PS_INSIDEFRAME, std::max(1, d.border), ForeOf(d, COLOR_WINDOWTEXT)));
      Selection p(dc, pen.Get());
      Selection b(dc, GetStockObject(NULL_BRUSH));
      Rectangle(dc, c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
    } else if (d.kind == ControlKind::Line) {
      PenHandle pen(CreatePen(PS_SOLID, std::max(1, d.border), ForeOf(d, COLOR_WINDOWTEXT)));
      Selection p(dc, pen.Get());
      MoveToEx(dc, c.rect.left, c.rect.top, nullptr);
      LineTo(dc, c.rect.right, c.rect.bottom);
    }
  }
}

// A group box: its back colour, an etched edge from half the caption's
// height down, and the caption in the top edge.
void Win32Form::PaintFrame(HDC dc, const Control& frame) {
  const ControlDesign& d = frame.design;
  RECT r = frame.rect;
  if (HasColour(d.back)) {
    BrushHandle back(CreateSolidBrush(ToColorRef(d.back)));
    FillRect(dc, &r, back.Get());
  }
  if (!runtime_) return;
  Selection font(dc, runtime_->Fonts().Get(d.font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const std::wstring text = frame.label ? Widen(frame.label->Text()) : std::wstring();
  SIZE extent{0, 0};
  GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
  const int textLeft = r.left + kFrameTextIndent;
  RECT edge = r;
  edge.top += metrics.tmHeight / 2;
  const int saved = SaveDC(dc);
  if (!text.empty()) ExcludeClipRect(dc, textLeft, r.top, textLeft + extent.cx, r.top + metrics.tmHeight);
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  RestoreDC(dc, saved);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ForeOf(d, COLOR_BTNTEXT));
  TextOutW(dc, textLeft, r.top, text.c_str(), int(text.size()));
}

// --- platform::Form

platform::WindowHandle Win32Form::Handle() const {
  return reinterpret_cast<platform::WindowHandle>(hwnd_);
}

void Win32Form::SetCaption(const std::string& text) {
  caption_ = text;
  SetWindowTextW(hwnd_, Widen(text).c_str());
}

void Win32Form::Show() {
  if (!placed_) {
    placed_ = true;
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    const int w = outer.right - outer.left, h = outer.bottom - outer.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - w) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTimer(hwnd_, kTooltipTimer, USER_TIMER_MINIMUM, nullptr);
  }
  // Shown again while it is up: it comes to the front, as a new message must.
  if (IsWindowVisible(hwnd_)) {
    BringWindowToTop(hwnd_);
    return;
  }
  // Shown without redraw, then invalidated whole: a plain show makes Wine
  // erase every child at once (~0.4 ms each); this way each child is erased
  // and painted together when its paint comes.
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | SWP_NOREDRAW);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Win32Form::Hide() { ShowWindow(hwnd_, SW_HIDE); }

bool Win32Form::IsShown() const { return hwnd_ && IsWindowVisible(hwnd_); }

void Win32Form::SetMousePointer(int pointer) {
  if (pointer == pointer_) return;
  pointer_ = pointer;
  ApplyPointerNow();
}

// The pointer changes under a resting mouse too: ask the window under it to
// set its cursor again, as a mouse move would.
void Win32Form::ApplyPointerNow() {
  POINT at;
  if (!GetCursorPos(&at)) return;
  HWND under = WindowFromPoint(at);
  if (under && (under == hwnd_ || IsChild(hwnd_, under)))
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

void Win32Form::Repaint() {
  FlushTexts(true);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Win32Form::PaintChanges() {
  FlushTexts(true);
  if (IsShown()) RedrawWindow(hwnd_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32Form::FlushTexts(bool lists) {
  if (!textsDirty_) return;
  textsDirty_ = false;
  for (Control& c : controls_) {
    if (c.label) c.label->Flush();
    if (c.quiet && !lists) {
      textsDirty_ = true;
    } else if (c.quiet) {
      c.quiet = false;
      SendMessageW(c.hwnd, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(c.hwnd, nullptr, TRUE);
    }
  }
}

void Win32Form::SetText(int id, const std::string& text) {
  Control& c = At(id);
  switch (c.design.kind) {
    case ControlKind::Label:
    case ControlKind::Picture:
    case ControlKind::Frame:
      // Stored only: status rows change thousands of times in a scan, and the
      // screen needs the latest text only when events run.
      c.label->SetText(text);
      textsDirty_ = textsDirty_ || c.label->Dirty();
      break;
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::ComboBox:
      SetWindowTextW(c.hwnd, Widen(text).c_str());
      break;
    default:
      break;
  }
}

std::string Win32Form::Text(int id) const {
  const Control& c = At(id);
  if (c.label) return c.label->Text();
  if (c.hwnd) return WindowText(c.hwnd);
  return {};
}

void Win32Form::SetEnabled(int id, bool enabled) {
  // A disabled window takes neither the focus nor the mouse: a disabled
  // combo box drops no list and raises no key events.
  if (HWND h = At(id).hwnd) EnableWindow(h, enabled);
}

bool Win32Form::IsEnabled(int id) const {
  HWND h = At(id).hwnd;
  return !h || IsWindowEnabled(h);
}

void Win32Form::SetVisible(int id, bool visible) {
  Control& c = At(id);
  c.visible = visible;
  if (c.hwnd)
    ShowWindow(c.hwnd, visible ? SW_SHOWNA : SW_HIDE);
  else
    InvalidateRect(hwnd_, nullptr, FALSE);
}

// Refused (nothing happens) when the control or its window cannot take the
// focus: disabled, invisible, or a window that is hidden.
void Win32Form::SetFocus(int id) {
  HWND h = At(id).hwnd;
  if (!h || !IsShown() || !IsWindowEnabled(h) || !IsWindowVisible(h)) return;
  ::SetFocus(h);
}

int Win32Form::CheckValue(int id) const {
  HWND h = At(id).hwnd;
  return h && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Form::SetCheckValue(int id, int value) {
  const Control& c = At(id);
  if (c.design.kind != ControlKind::CheckBox) throw std::logic_error("not a check box");
  const int before = CheckValue(id);
  SendMessageW(c.hwnd, BM_SETCHECK, value == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
  if (CheckValue(id) != before) RaiseClick(id);
}

namespace {

const ItemMessages& MessagesFor(ControlKind kind) {
  if (kind == ControlKind::ComboBox) return kComboMessages;
  if (kind == ControlKind::ListBox) return kListMessages;
  throw std::logic_error("not a combo box or list box");
}

}  // namespace

void Win32Form::ClearItems(int id) {
  const Control& c = At(id);
  SendMessageW(c.hwnd, MessagesFor(c.design.kind).reset, 0, 0);
}

void Win32Form::AddItem(int id, const std::string& text) {
  Control& c = At(id);
  // A list box redraws itself and its scroll bar at every item (~5 ms under
  // Wine): while it fills, it is redrawn only when events run.
  if (c.design.kind == ControlKind::ListBox && !c.quiet) {
    SendMessageW(c.hwnd, WM_SETREDRAW, FALSE, 0);
    c.quiet = true;
    textsDirty_ = true;
  }
  // Unsorted: added at the end. The control keeps the text up to its first NUL.
  SendMessageW(c.hwnd, MessagesFor(c.design.kind).add, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

int Win32Form::ItemCount(int id) const {
  const Control& c = At(id);
  const LRESULT n = SendMessageW(c.hwnd, MessagesFor(c.design.kind).count, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

std::string Win32Form::Item(int id, int index) const {
  const Control& c = At(id);
  const ItemMessages& m = MessagesFor(c.design.kind);
  const LRESULT length = SendMessageW(c.hwnd, m.textLength, WPARAM(index), 0);
  if (length < 0) return {};  // no such item
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(c.hwnd, m.text, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return Narrow(text);
}

int Win32Form::ListIndex(int id) const {
  const Control& c = At(id);
  const LRESULT index = SendMessageW(c.hwnd, MessagesFor(c.design.kind).getSelection, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32Form::SetListIndex(int id, int index) {
  const Control& c = At(id);
  if (index < -1 || index >= ItemCount(id))
    throw std::out_of_range("no item " + std::to_string(index) + " in control " + std::to_string(id));
  // -1 clears the selection (and a combo box's field).
  SendMessageW(c.hwnd, MessagesFor(c.design.kind).setSelection, WPARAM(index), 0);
}

void Win32Form::SetTimerEnabled(int id, bool enabled) {
  Control& c = At(id);
  if (c.design.kind != ControlKind::Timer || enabled == c.timerOn) return;
  c.timerOn = enabled && c.design.interval > 0;
  if (c.timerOn)
    SetTimer(hwnd_, static_cast<UINT_PTR>(id), UINT(c.design.interval), nullptr);
  else
    KillTimer(hwnd_, static_cast<UINT_PTR>(id));
}

bool Win32Form::TimerEnabled(int id) const { return At(id).timerOn; }

}  // namespace veltrane::win32
