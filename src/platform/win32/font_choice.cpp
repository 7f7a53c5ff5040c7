#include "platform/win32/font_choice.h"

namespace veltrane::win32 {

// Measured on Wine's own sserife.fon, which follows the Windows face's
// metrics: 8.25 pt and 9.75 pt, regular and bold, the sizes the designs use.
int DesignSampleWidth(int tenthsOfPoint, bool bold) {
  if (tenthsOfPoint == 83) return bold ? 375 : 323;
  if (tenthsOfPoint == 98) return bold ? 457 : 405;
  return (bold ? 375 : 323) * tenthsOfPoint / 83;
}

FaceChoice ChooseStandIn(std::span<const std::wstring> faces, int designHeight, int widthLimit,
                         const SampleWidth& sampleWidth) {
  const int lowest = designHeight * 3 / 4;
  for (int height = designHeight; height >= lowest; --height) {
    const std::wstring* best = nullptr;
    int bestWidth = -1;
    for (const std::wstring& face : faces) {
      const int width = sampleWidth(face, height);
      if (width >= 0 && width <= widthLimit && width > bestWidth) {
        best = &face;
        bestWidth = width;
      }
    }
    if (best) return {*best, height};
  }
  const std::wstring* narrowest = nullptr;
  int narrowestWidth = 0;
  for (const std::wstring& face : faces) {
    const int width = sampleWidth(face, lowest);
    if (width >= 0 && (!narrowest || width < narrowestWidth)) {
      narrowest = &face;
      narrowestWidth = width;
    }
  }
  if (!narrowest) return {std::wstring(), designHeight};
  return {*narrowest, lowest};
}

}  // namespace veltrane::win32
