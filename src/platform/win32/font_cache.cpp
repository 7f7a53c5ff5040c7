#include "platform/win32/font_cache.h"

#include "platform/win32/font_choice.h"

namespace veltrane::win32 {

namespace {

// Faces that often stand where the design's is missing: its TrueType twin
// on Windows, Wine's dialog face, the common sans faces of Linux systems.
const std::wstring kStandIns[] = {L"Microsoft Sans Serif", L"Tahoma", L"Arial", L"Liberation Sans",
                                  L"DejaVu Sans Condensed", L"DejaVu Sans", L"Liberation Sans Narrow"};

FontHandle Create(const std::wstring& face, int height, bool bold) {
  return FontHandle(CreateFontW(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, face.c_str()));
}

std::wstring FaceIn(HDC dc, HFONT font) {
  Selection chosen(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  return face;
}

// -1 when the system would give another face for this name.
int SampleWidthIn(HDC dc, const std::wstring& face, int height, bool bold) {
  const FontHandle font = Create(face, height, bold);
  if (_wcsicmp(FaceIn(dc, font.Get()).c_str(), face.c_str()) != 0) return -1;
  Selection chosen(dc, font.Get());
  const std::wstring sample = kWidthSample;
  SIZE extent{};
  GetTextExtentPoint32W(dc, sample.c_str(), static_cast<int>(sample.size()), &extent);
  return extent.cx;
}

}  // namespace

HFONT FontCache::Get(platform::Font font) {
  for (const Entry& e : fonts_)
    if (e.font.tenthsOfPoint == font.tenthsOfPoint && e.font.bold == font.bold) return e.handle.Get();
  ScreenDc screen;
  const int dpi = GetDeviceCaps(screen.Get(), LOGPIXELSY);
  // 8.25 pt at 96 dpi is 11 pixels of character height, 9.75 pt is 13: the
  // sizes of Wine's own bitmap font (sserife.fon) and of the Windows one.
  const int height = MulDiv(font.tenthsOfPoint, dpi, 720);
  if (!designFaceInstalled_) {
    const FontHandle probe = Create(kDesignFace, height, false);
    designFaceInstalled_ = _wcsicmp(FaceIn(screen.Get(), probe.Get()).c_str(), kDesignFace) == 0;
  }
  FaceChoice choice{kDesignFace, height};
  if (!*designFaceInstalled_)
    choice = ChooseStandIn(kStandIns, height, MulDiv(DesignSampleWidth(font.tenthsOfPoint, font.bold), dpi, 96),
                           [&](const std::wstring& face, int h) { return SampleWidthIn(screen.Get(), face, h, font.bold); });
  fonts_.push_back({font, Create(choice.face, choice.height, font.bold)});
  return fonts_.back().handle.Get();
}

std::wstring FontCache::FaceOf(platform::Font font) {
  ScreenDc screen;
  return FaceIn(screen.Get(), Get(font));
}

}  // namespace veltrane::win32
