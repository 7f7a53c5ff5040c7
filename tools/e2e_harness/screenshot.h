#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// What the screen shows in a rectangle, 24-bit, bottom row first as in a BMP.
struct ScreenPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bits;  // rows of `Stride()` bytes, blue green red
  int Stride() const { return (width * 3 + 3) / 4 * 4; }
  // (x, y) from the top-left corner.
  COLORREF At(int x, int y) const;
};

// Empty (0 x 0) when the rectangle cannot be read.
ScreenPicture CaptureScreen(const RECT& screen);
// What the screen shows of `window` in `rect`, once it holds still (or at
// the deadline for what a click causes), its caret's box blanked.
ScreenPicture CaptureStill(HWND window, const RECT& rect);
// The window's client area, as CaptureStill takes it.
ScreenPicture CaptureClient(HWND window);

// Copies what the screen shows of the window (frame included) into a 24-bit
// BMP; tools/e2e turns the BMPs into PNGs. Fails quietly: a missing picture
// is seen in the output folder, it fails no case.
bool SaveWindowBmp(HWND window, const std::wstring& path);

}  // namespace e2e
