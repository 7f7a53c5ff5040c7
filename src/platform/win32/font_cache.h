#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/form_design.h"
#include "platform/win32/gdi.h"

namespace veltrane::win32 {

// One font per size and weight, kept for the program's life, in the pixel
// heights of the fixed-pixel layout: "MS Sans Serif" where the system has it
// in those heights, else the stand-in that font_choice.h picks.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  HFONT Get(platform::Font font);
  // The face the font got from the system.
  std::wstring FaceOf(platform::Font font);

 private:
  struct Entry {
    platform::Font font;
    FontHandle handle;
  };
  std::vector<Entry> fonts_;
};

}  // namespace veltrane::win32
