#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/form_design.h"
#include "platform/win32/gdi.h"

namespace veltrane::win32 {

// One font per size and weight, kept for the program's life: "MS Sans Serif"
// where it is installed, else the stand-in that font_choice.h picks.
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
  std::optional<bool> designFaceInstalled_;  // asked once
};

}  // namespace veltrane::win32
