// The main window's pictures as the window stacks them: where one lies over
// another, the upper picture must carry what lies beneath it, since a bitmap
// has no transparent colour.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/form_main_design.h"

namespace veltrane {
namespace {

struct Rgb {
  std::uint8_t b, g, r;
  bool operator==(const Rgb&) const = default;
};

// A 24-bit bottom-up BMP, as make_art.py writes them.
struct Bitmap {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;  // top row first
  Rgb At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

std::uint32_t Le32(const std::vector<unsigned char>& d, std::size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | std::uint32_t(d[at + 3]) << 24;
}

Bitmap ReadBmp(const std::string& name) {
  std::ifstream in(std::string(VELTRANE_ART_DIR) + "/" + name, std::ios::binary);
  const std::vector<unsigned char> d{std::istreambuf_iterator<char>(in), {}};
  Bitmap bmp;
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M' || d[28] != 24) {
    ADD_FAILURE() << name << " is no 24-bit BMP";
    return bmp;
  }
  const std::size_t offset = Le32(d, 10);
  bmp.width = static_cast<int>(Le32(d, 18));
  bmp.height = static_cast<int>(Le32(d, 22));
  const std::size_t stride = (static_cast<std::size_t>(bmp.width) * 3 + 3) / 4 * 4;
  for (int y = 0; y < bmp.height; ++y) {
    const std::size_t row = offset + static_cast<std::size_t>(bmp.height - 1 - y) * stride;
    for (int x = 0; x < bmp.width; ++x) {
      const std::size_t p = row + static_cast<std::size_t>(x) * 3;
      bmp.pixels.push_back({d[p], d[p + 1], d[p + 2]});
    }
  }
  return bmp;
}

const std::map<platform::Art, std::string> kFiles = {
    {platform::Art::ScanPicture, "scan_picture.bmp"},     {platform::Art::ScanButton, "scan_button.bmp"},
    {platform::Art::RemovePicture, "remove_picture.bmp"}, {platform::Art::RemoveButton, "remove_button.bmp"},
    {platform::Art::Logo, "logo.bmp"},                    {platform::Art::ProductName, "product_name.bmp"},
    {platform::Art::BrowserBanner, "browser_banner.bmp"},
};

struct Placed {
  std::string name;
  int left, top;  // pixels in the client area
  Bitmap bmp;
  bool Covers(int x, int y) const {
    return x >= left && y >= top && x < left + bmp.width && y < top + bmp.height;
  }
  Rgb At(int x, int y) const { return bmp.At(x - left, y - top); }
};

// A seam is a pixel of the overlap where the upper picture shows the bare
// background although the picture beneath shows something else there.
TEST(ArtworkTest, UpperPicturesCarryThePicturesBeneathThem) {
  const Bitmap background = ReadBmp("background.bmp");
  std::vector<Placed> stack;  // the design's order: the earlier lies on top
  for (const platform::ControlDesign& c : MainDesign().controls) {
    if (c.kind != platform::ControlKind::Picture || !kFiles.count(c.picture)) continue;
    const int border = c.border;
    stack.push_back({kFiles.at(c.picture), c.left / 15 + border, c.top / 15 + border, ReadBmp(kFiles.at(c.picture))});
    EXPECT_EQ(stack.back().bmp.width + 2 * border, c.width / 15) << stack.back().name;
    EXPECT_EQ(stack.back().bmp.height + 2 * border, c.height / 15) << stack.back().name;
  }
  int overlaps = 0;
  for (std::size_t upper = 0; upper < stack.size(); ++upper) {
    for (std::size_t lower = upper + 1; lower < stack.size(); ++lower) {
      const Placed& u = stack[upper];
      const Placed& l = stack[lower];
      int shared = 0, seams = 0;
      for (int y = u.top; y < u.top + u.bmp.height; ++y)
        for (int x = u.left; x < u.left + u.bmp.width; ++x) {
          if (!l.Covers(x, y)) continue;
          ++shared;
          if (u.At(x, y) == background.At(x, y) && !(l.At(x, y) == background.At(x, y))) ++seams;
        }
      if (shared == 0) continue;
      ++overlaps;
      EXPECT_EQ(seams, 0) << u.name << " over " << l.name << ": " << shared << " pixels shared";
    }
  }
  EXPECT_EQ(overlaps, 3) << "the name over the logo, each word picture over its button";
}

}  // namespace
}  // namespace veltrane
