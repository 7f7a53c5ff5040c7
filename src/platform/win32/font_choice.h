#pragma once
#include <functional>
#include <span>
#include <string>

namespace veltrane::win32 {

// The face every window is designed in. Where it is missing (a Wine prefix
// made by plain wineboot on Debian has none of Wine's own faces), a face
// that is there stands in at a height where its text runs no wider than the
// design's, so every caption still fits its box.
inline constexpr const wchar_t* kDesignFace = L"MS Sans Serif";

// Letters whose width stands for a face's width.
inline constexpr const wchar_t* kWidthSample = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The sample's width in the design's face at its pixel heights, in pixels.
int DesignSampleWidth(int tenthsOfPoint, bool bold);

struct FaceChoice {
  std::wstring face;
  int height = 0;  // character height in pixels
};

// `sampleWidth(face, height)`: the sample's width in that face at that
// character height, or -1 when the face is not installed.
using SampleWidth = std::function<int(const std::wstring& face, int height)>;

// Among the installed `faces`, the one whose sample fits `widthLimit` at the
// largest height up to `designHeight`; on a tie the widest (the closest to
// the design), then the earliest. Heights go down to three quarters of the
// design's; when nothing fits even there, the narrowest face at that height.
// No face installed: an empty face, which leaves the choice to the system.
FaceChoice ChooseStandIn(std::span<const std::wstring> faces, int designHeight, int widthLimit,
                         const SampleWidth& sampleWidth);

}  // namespace veltrane::win32
