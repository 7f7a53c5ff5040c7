#pragma once
#include <windows.h>

#include "platform/form_design.h"
#include "platform/win32/gdi.h"

// What the form's construction, message and painting code all use.
namespace veltrane::win32::form {

// Above every design id, which are also the ids of the design's timers.
constexpr UINT_PTR kTooltipTimer = 0x7FFF;

constexpr int kTwipsPerPixel = 15;

inline int Px(int twips) { return MulDiv(twips, 1, kTwipsPerPixel); }

inline bool HasColour(platform::Colour c) {
  return c != platform::kDefaultColour && c != platform::kTransparent;
}

inline COLORREF ForeOf(const platform::ControlDesign& d, int systemColour) {
  return HasColour(d.fore) ? ToColorRef(d.fore) : GetSysColor(systemColour);
}

}  // namespace veltrane::win32::form
