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
  // The layout has fixed pixels (15 twips to the pixel at any DPI), so the
  // fonts get the pixel heights of 96 dpi whatever the screen's: 8.25 pt is
  // 11 pixels of character height, 9.75 pt is 13, the sizes of Wine's own
  // bitmap font (sserife.fon) and of the Windows one.
  constexpr int kLayoutDpi = 96;
  const int height = MulDiv(font.tenthsOfPoint, kLayoutDpi, 720);
  const int widthLimit = DesignSampleWidth(font.tenthsOfPoint, font.bold);
  // Above 96 dpi the system gives "MS Sans Serif" from its large-font file,
  // which has no strike that small and runs wider: a stand-in takes over.
  const int designWidth = SampleWidthIn(screen.Get(), kDesignFace, height, font.bold);
  FaceChoice choice{kDesignFace, height};
  if (designWidth < 0 || designWidth > widthLimit)
    choice = ChooseStandIn(kStandIns, height, widthLimit,
                           [&](const std::wstring& face, int h) { return SampleWidthIn(screen.Get(), face, h, font.bold); });
  fonts_.push_back({font, Create(choice.face, choice.height, font.bold)});
  return fonts_.back().handle.Get();
}

std::wstring FontCache::FaceOf(platform::Font font) {
  ScreenDc screen;
  return FaceIn(screen.Get(), Get(font));
}

}  // namespace veltrane::win32
