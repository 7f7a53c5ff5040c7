#include "platform/win32/label_window.h"

#include "platform/win32/gdi.h"
#include "platform/win32/guarded_call.h"
#include "platform/win32/utf.h"

namespace veltrane::win32 {

void LabelWindow::RegisterClasses(HINSTANCE module) {
  for (const wchar_t* name : {kLabelClass, kPictureClass, kFrameClass})
    RegisterBoundClass<LabelWindow>(module, name);
}

LabelWindow::LabelWindow(HWND parent, int id, RECT rect, const LabelLook& look, std::string text,
                         LabelHost& host)
    : id_(id), origin_{rect.left, rect.top}, look_(look), text_(std::move(text)), host_(host) {
  const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  const wchar_t* cls = look.role == LabelRole::Picture ? kPictureClass
                       : look.role == LabelRole::Frame ? kFrameClass
                                                       : kLabelClass;
  CreateWindowExW(0, cls, Widen(text_).c_str(),
                  WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, this);
}

LabelWindow::~LabelWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

void LabelWindow::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  dirty_ = true;
}

void LabelWindow::Flush() {
  if (!dirty_ || !hwnd_) return;
  dirty_ = false;
  // The window manager's copy is for other processes' GetWindowText only.
  DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text_).c_str()));
  InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT LabelWindow::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    // No frame, so nothing to paint outside the client area; the default
    // handling still costs a DC from the server (~0.8 ms a window under Wine).
    case WM_NCPAINT: return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(hwnd_);
      return 0;
    case WM_LBUTTONUP: OnButtonUp(lp); return 0;
    case WM_CAPTURECHANGED: pressed_ = false; return 0;
    case WM_GETTEXT: return OnGetText(wp, reinterpret_cast<wchar_t*>(lp));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(Widen(text_).size());
    case WM_SETTEXT:
      text_ = lp ? Narrow(reinterpret_cast<const wchar_t*>(lp)) : std::string();
      dirty_ = true;
      Flush();
      return TRUE;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// A click is a press and a release both on the label, as with a button.
void LabelWindow::OnButtonUp(LPARAM lp) {
  const bool wasPressed = pressed_;
  pressed_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  RECT client;
  GetClientRect(hwnd_, &client);
  const POINT at{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  if (wasPressed && PtInRect(&client, at)) host_.LabelClicked(id_);
}

LRESULT LabelWindow::OnGetText(WPARAM capacity, wchar_t* buffer) const {
  if (capacity == 0 || !buffer) return 0;
  const std::wstring wide = Widen(text_);
  const std::size_t n = std::min<std::size_t>(wide.size(), capacity - 1);
  wide.copy(buffer, n);
  buffer[n] = L'\0';
  return static_cast<LRESULT>(n);
}

void LabelWindow::OnPaint() {
  PaintBuffered(hwnd_, [this](HDC dc) { Paint(dc); });
}

void LabelWindow::Paint(HDC dc) {
  RECT rc;
  GetClientRect(hwnd_, &rc);
  switch (look_.role) {
    case LabelRole::Frame:
      host_.PaintUnder(dc, origin_);  // the window paints the frame and its caption
      return;
    case LabelRole::Picture:
      if (!look_.bitmap) host_.PaintUnder(dc, origin_);
      break;
    case LabelRole::Label:
      if (look_.transparent) {
        host_.PaintUnder(dc, origin_);
      } else {
        BrushHandle back(CreateSolidBrush(look_.back));
        FillRect(dc, &rc, back.Get());
      }
      break;
  }
  if (look_.border) {
    FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&rc, -1, -1);
  }
  if (look_.role == LabelRole::Picture) {
    if (!look_.bitmap) return;
    MemoryDc picture(dc);
    Selection chosen(picture.Get(), look_.bitmap);
    BitBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, picture.Get(), 0, 0, SRCCOPY);
    return;
  }
  if (text_.empty()) return;
  Selection font(dc, look_.font);
  SetTextColor(dc, look_.fore);
  SetBkMode(dc, TRANSPARENT);
  // CR LF always breaks a line; only a wrapping label also breaks at words.
  // No prefix: an "&" in a path is an ordinary character.
  const UINT flags = look_.align | DT_NOPREFIX | DT_TOP | (look_.wordWrap ? DT_WORDBREAK : 0);
  std::wstring wide = Widen(text_);
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rc, flags);
}

}  // namespace veltrane::win32
