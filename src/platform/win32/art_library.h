#pragma once
#include <windows.h>

#include <array>

#include "platform/form_design.h"
#include "platform/win32/gdi.h"

namespace veltrane::win32 {

// The program's artwork, loaded from the module's resources on first use.
// A module without them (the test program) gets nullptr bitmaps and icons and
// the system's hand: windows then show their back colours only.
class ArtLibrary {
 public:
  explicit ArtLibrary(HINSTANCE module) : module_(module) {}
  ArtLibrary(const ArtLibrary&) = delete;
  ArtLibrary& operator=(const ArtLibrary&) = delete;

  HBITMAP Bitmap(platform::Art art);
  HCURSOR HandCursor();
  HICON Icon(int size);  // shared by the system: never destroyed

 private:
  static constexpr std::size_t kArtCount = static_cast<std::size_t>(platform::Art::BrowserBanner) + 1;
  HINSTANCE module_;
  std::array<BitmapHandle, kArtCount> bitmaps_;
  std::array<bool, kArtCount> tried_{};
  HCURSOR hand_ = nullptr;
};

// The resource id of a picture; 0 for Art::None.
int ArtResourceId(platform::Art art);

// Width and height of a bitmap; {0, 0} for nullptr.
SIZE BitmapSize(HBITMAP bitmap);

}  // namespace veltrane::win32
