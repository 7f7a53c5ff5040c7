#include "platform/win32/win32_form.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/win32/art_library.h"
#include "platform/win32/font_cache.h"
#include "platform/win32/guarded_call.h"
#include "platform/win32/item_list.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_form_shared.h"
#include "platform/win32/win32_runtime.h"

namespace veltrane::win32 {

using platform::ControlDesign;
using platform::ControlKind;
using namespace form;

namespace {

constexpr int kDropDownHeight = 120;  // the combo box's list: about eight items

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

ItemList ItemsOf(ControlKind kind, HWND hwnd) {
  if (kind == ControlKind::ComboBox) return ItemList::Combo(hwnd);
  if (kind == ControlKind::ListBox) return ItemList::List(hwnd);
  throw std::logic_error("not a combo box or list box");
}

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

void Win32Form::ClearItems(int id) {
  const Control& c = At(id);
  ItemsOf(c.design.kind, c.hwnd).Reset();
}

void Win32Form::AddItem(int id, const std::string& text) {
  Control& c = At(id);
  const ItemList items = ItemsOf(c.design.kind, c.hwnd);
  // A list box redraws itself and its scroll bar at every item (~5 ms under
  // Wine): while it fills, it is redrawn only when events run.
  if (c.design.kind == ControlKind::ListBox && !c.quiet) {
    SendMessageW(c.hwnd, WM_SETREDRAW, FALSE, 0);
    c.quiet = true;
    textsDirty_ = true;
  }
  items.Add(Widen(text).c_str());
}

int Win32Form::ItemCount(int id) const {
  const Control& c = At(id);
  const LRESULT n = ItemsOf(c.design.kind, c.hwnd).Count();
  return n < 0 ? 0 : static_cast<int>(n);
}

std::string Win32Form::Item(int id, int index) const {
  const Control& c = At(id);
  return Narrow(ItemsOf(c.design.kind, c.hwnd).Text(index));
}

int Win32Form::ListIndex(int id) const {
  const Control& c = At(id);
  const LRESULT index = ItemsOf(c.design.kind, c.hwnd).Selection();
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32Form::SetListIndex(int id, int index) {
  const Control& c = At(id);
  if (index < -1 || index >= ItemCount(id))
    throw std::out_of_range("no item " + std::to_string(index) + " in control " + std::to_string(id));
  ItemsOf(c.design.kind, c.hwnd).Select(index);
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
