#include "screenshot.h"

#include <cstdio>
#include <vector>

#include "platform/win32/gdi.h"

namespace e2e {

using veltrane::win32::BitmapHandle;
using veltrane::win32::MemoryDc;
using veltrane::win32::ScreenDc;
using veltrane::win32::Selection;

bool SaveWindowBmp(HWND window, const std::wstring& path) {
  RECT rect{};
  if (!window || !GetWindowRect(window, &rect)) return false;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;

  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files store it
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  header.biSizeImage = stride * static_cast<DWORD>(height);

  ScreenDc screen;
  MemoryDc memory(screen.Get());
  void* bits = nullptr;
  BitmapHandle bitmap(CreateDIBSection(screen.Get(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits,
                                 nullptr, 0));
  if (!bitmap.Get()) return false;
  {
    Selection selected(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), rect.left, rect.top, SRCCOPY)) return false;
  }
  GdiFlush();

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + header.biSizeImage;
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return false;
  const bool written = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
                       fwrite(bits, header.biSizeImage, 1, out) == 1;
  fclose(out);
  return written;
}

}  // namespace e2e
