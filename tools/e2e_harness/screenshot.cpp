#include "screenshot.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/win32/gdi.h"
#include "wait.h"

namespace e2e {

using veltrane::win32::BitmapHandle;
using veltrane::win32::MemoryDc;
using veltrane::win32::ScreenDc;
using veltrane::win32::Selection;

namespace {

BITMAPINFOHEADER HeaderFor(const ScreenPicture& picture) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = picture.height;  // bottom-up, as BMP files store it
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(picture.Stride() * picture.height);
  return header;
}

// A blinking caret would make two pictures of the same window differ, and
// Wine tells no blink phase (GUI_CARETBLINKING is set whenever there is a
// caret). Its box is filled with the colour just right of it, which the
// caret never covers. Empty when the window's thread has no caret.
RECT CaretOnScreen(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!GetGUIThreadInfo(thread, &info) || !info.hwndCaret) return {};
  if (info.hwndCaret != window && !IsChild(window, info.hwndCaret)) return {};
  RECT caret = info.rcCaret;
  MapWindowPoints(info.hwndCaret, nullptr, reinterpret_cast<POINT*>(&caret), 2);
  return caret;
}

void BlankCaret(ScreenPicture& picture, const RECT& pictureOnScreen, const RECT& caretOnScreen) {
  RECT caret{};
  if (!IntersectRect(&caret, &caretOnScreen, &pictureOnScreen)) return;
  OffsetRect(&caret, -pictureOnScreen.left, -pictureOnScreen.top);
  if (caret.right >= picture.width) return;
  for (int y = caret.top; y < caret.bottom; ++y) {
    const COLORREF beside = picture.At(caret.right, y);
    for (int x = caret.left; x < caret.right; ++x) {
      std::uint8_t* p = &picture.bits[static_cast<std::size_t>((picture.height - 1 - y) * picture.Stride() + x * 3)];
      p[0] = GetBValue(beside);
      p[1] = GetGValue(beside);
      p[2] = GetRValue(beside);
    }
  }
}

// A caret blinks every half second, so still stretches this long do come.
constexpr DWORD kStillForMs = 100;

}  // namespace

COLORREF ScreenPicture::At(int x, int y) const {
  const std::uint8_t* p = &bits[static_cast<std::size_t>((height - 1 - y) * Stride() + x * 3)];
  return RGB(p[2], p[1], p[0]);
}

ScreenPicture CaptureScreen(const RECT& rect) {
  ScreenPicture picture;
  picture.width = rect.right - rect.left;
  picture.height = rect.bottom - rect.top;
  if (picture.width <= 0 || picture.height <= 0) return {};
  BITMAPINFOHEADER header = HeaderFor(picture);
  ScreenDc screen;
  MemoryDc memory(screen.Get());
  void* bits = nullptr;
  BitmapHandle bitmap(
      CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap.Get()) return {};
  {
    Selection selected(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, picture.width, picture.height, screen.Get(), rect.left, rect.top, SRCCOPY))
      return {};
  }
  GdiFlush();
  picture.bits.resize(header.biSizeImage);
  std::memcpy(picture.bits.data(), bits, header.biSizeImage);
  return picture;
}

ScreenPicture CaptureStill(HWND window, const RECT& rect) {
  // The picture is kept once the screen holds still: on a loaded machine the
  // program may still be painting what it was last told.
  const auto capture = [&] {
    ScreenPicture picture = CaptureScreen(rect);
    BlankCaret(picture, rect, CaretOnScreen(window));
    return picture;
  };
  ScreenPicture picture = capture();
  DWORD since = GetTickCount();
  WaitFor(
      [&] {
        if (picture.bits.empty()) return true;
        ScreenPicture again = capture();
        if (again.bits == picture.bits) return GetTickCount() - since >= kStillForMs;
        picture = std::move(again);
        since = GetTickCount();
        return false;
      },
      kEffectTimeoutMs);
  return picture;
}

ScreenPicture CaptureClient(HWND window) {
  RECT client{};
  if (!window || !GetClientRect(window, &client)) return {};
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return CaptureStill(window, client);
}

bool SaveWindowBmp(HWND window, const std::wstring& path) {
  RECT rect{};
  if (!window || !GetWindowRect(window, &rect)) return false;
  const ScreenPicture picture = CaptureStill(window, rect);
  if (picture.bits.empty()) return false;
  const BITMAPINFOHEADER header = HeaderFor(picture);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  const bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
                       fwrite(picture.bits.data(), picture.bits.size(), 1, out) == 1;
  fclose(out);
  return written;
}

}  // namespace e2e
