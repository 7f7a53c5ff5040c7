#pragma once
#include <windows.h>

#include <vector>

#include "platform/form_design.h"
#include "platform/win32/gdi.h"

namespace veltrane::win32 {

// One "MS Sans Serif" font per size and weight, kept for the program's life.
class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  HFONT Get(platform::Font font);

 private:
  struct Entry {
    platform::Font font;
    FontHandle handle;
  };
  std::vector<Entry> fonts_;
};

}  // namespace veltrane::win32
