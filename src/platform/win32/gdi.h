#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/win32/handles.h"

namespace veltrane::win32 {

template <typename H>
struct GdiObjectTraits {
  using Handle = H;
  static Handle None() { return nullptr; }
  static void Close(Handle h) { DeleteObject(h); }
};

using FontHandle = Owner<GdiObjectTraits<HFONT>>;
using BitmapHandle = Owner<GdiObjectTraits<HBITMAP>>;
using BrushHandle = Owner<GdiObjectTraits<HBRUSH>>;
using PenHandle = Owner<GdiObjectTraits<HPEN>>;

// Puts an object into a DC and puts back what it replaced.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~Selection() { SelectObject(dc_, old_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The whole screen's DC (the end-to-end harness takes its screenshots from it).
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) {}
  ~ScreenDc() { ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() { DeleteDC(dc_); }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~PaintScope() { EndPaint(hwnd_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// Paints into an off-screen copy of `target`'s rectangle (0, 0, width, height)
// and copies it over at the end, so a repaint never shows a half-drawn state.
class BufferedPaint {
 public:
  BufferedPaint(HDC target, int width, int height)
      : target_(target), width_(width), height_(height), memory_(target),
        bitmap_(CreateCompatibleBitmap(target, width, height)),
        selection_(memory_.Get(), bitmap_.Get()) {}
  ~BufferedPaint() { BitBlt(target_, 0, 0, width_, height_, memory_.Get(), 0, 0, SRCCOPY); }
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC Get() const { return memory_.Get(); }

 private:
  HDC target_;
  int width_, height_;
  MemoryDc memory_;
  BitmapHandle bitmap_;
  Selection selection_;
};

// Answers WM_PAINT through a buffer the size of the window's client area.
template <typename Paint>
void PaintBuffered(HWND hwnd, Paint&& paint) {
  PaintScope scope(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  BufferedPaint buffer(scope.Get(), client.right, client.bottom);
  paint(buffer.Get());
}

// 0xRRGGBB as the design writes colours, to GDI's 0x00BBGGRR.
constexpr COLORREF ToColorRef(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace veltrane::win32
