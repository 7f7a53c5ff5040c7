#pragma once
#include <windows.h>

#include <string>

namespace e2e {

// Copies what the screen shows of the window (frame included) into a 24-bit
// BMP; tools/e2e turns the BMPs into PNGs. Fails quietly: a missing picture
// is seen in the output folder, it fails no case.
bool SaveWindowBmp(HWND window, const std::wstring& path);

}  // namespace e2e
