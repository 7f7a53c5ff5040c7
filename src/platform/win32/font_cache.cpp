#include "platform/win32/font_cache.h"

namespace veltrane::win32 {

HFONT FontCache::Get(platform::Font font) {
  for (const Entry& e : fonts_)
    if (e.font.tenthsOfPoint == font.tenthsOfPoint && e.font.bold == font.bold) return e.handle.Get();
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  // 8.25 pt at 96 dpi is 11 pixels of character height, 9.75 pt is 13: the
  // sizes of Wine's own bitmap font (sserife.fon) and of the Windows one.
  const int height = -MulDiv(font.tenthsOfPoint, dpi, 720);
  FontHandle handle(CreateFontW(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
  fonts_.push_back({font, std::move(handle)});
  return fonts_.back().handle.Get();
}

}  // namespace veltrane::win32
