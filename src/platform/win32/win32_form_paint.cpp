#include "platform/win32/win32_form.h"

#include <algorithm>

#include "platform/win32/font_cache.h"
#include "platform/win32/utf.h"
#include "platform/win32/win32_form_shared.h"
#include "platform/win32/win32_runtime.h"

namespace veltrane::win32 {

using platform::ControlDesign;
using platform::ControlKind;
using namespace form;

namespace {

constexpr int kFrameTextIndent = 8;

}  // namespace

void Win32Form::OnPaint() {
  PaintBuffered(hwnd_, [this](HDC dc) { PaintSurface(dc); });
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

}  // namespace veltrane::win32
