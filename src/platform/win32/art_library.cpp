#include "platform/win32/art_library.h"

#include "platform/win32/resource_ids.h"

namespace veltrane::win32 {

using platform::Art;

int ArtResourceId(Art art) {
  switch (art) {
    case Art::None: return 0;
    case Art::Background: return IDB_BACKGROUND;
    case Art::ScanPicture: return IDB_SCAN_PICTURE;
    case Art::ScanButton: return IDB_SCAN_BUTTON;
    case Art::RemovePicture: return IDB_REMOVE_PICTURE;
    case Art::RemoveButton: return IDB_REMOVE_BUTTON;
    case Art::Logo: return IDB_LOGO;
    case Art::ProductName: return IDB_PRODUCT_NAME;
    case Art::BrowserBanner: return IDB_BROWSER_BANNER;
  }
  return 0;
}

HBITMAP ArtLibrary::Bitmap(Art art) {
  const auto i = static_cast<std::size_t>(art);
  if (art == Art::None || i >= kArtCount) return nullptr;
  if (!tried_[i]) {
    tried_[i] = true;
    // A DIB section keeps the 24-bit colours whatever the screen's depth.
    bitmaps_[i].Reset(static_cast<HBITMAP>(LoadImageW(
        module_, MAKEINTRESOURCEW(ArtResourceId(art)), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  return bitmaps_[i].Get();
}

HCURSOR ArtLibrary::HandCursor() {
  if (!hand_) hand_ = LoadCursorW(module_, MAKEINTRESOURCEW(IDR_HAND_CURSOR));
  if (!hand_) hand_ = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
  return hand_;
}

HICON ArtLibrary::Icon(int size) {
  return static_cast<HICON>(
      LoadImageW(module_, MAKEINTRESOURCEW(IDI_VELTRANE), IMAGE_ICON, size, size, LR_SHARED));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

}  // namespace veltrane::win32
