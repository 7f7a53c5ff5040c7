// Which face the windows' text is set in: the design's where it is
// installed, else a stand-in whose text runs no wider than the design's.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/font_cache.h"
#include "platform/win32/font_choice.h"

namespace veltrane::win32 {
namespace {

// Widths that grow with the height by one pixel in ten per face's width at
// the design height of 13.
struct Face {
  std::wstring name;
  int widthAt13;
};

int WidthOf(const std::vector<Face>& installed, const std::wstring& face, int height) {
  for (const Face& f : installed)
    if (f.name == face) return f.widthAt13 * height / 13;
  return -1;
}

TEST(FontChoice, StandInFitsTheDesignWidthAtTheLargestHeight) {
  const std::vector<std::wstring> faces = {L"Wide", L"Close", L"Narrow", L"Missing"};
  struct Case {
    const char* what;
    std::vector<Face> installed;
    FaceChoice expected;
  };
  const Case cases[] = {
      {"of the faces that fit at full height, the widest", {{L"Wide", 420}, {L"Close", 370}, {L"Narrow", 300}},
       {L"Close", 13}},
      {"a narrower face at full height beats shrinking a wide one", {{L"Wide", 420}, {L"Narrow", 300}}, {L"Narrow", 13}},
      {"only a wide face: shrunk until it fits", {{L"Wide", 420}}, {L"Wide", 11}},
      {"equal widths: the earlier", {{L"Close", 360}, {L"Narrow", 360}}, {L"Close", 13}},
      {"nothing fits even at three quarters: the narrowest there", {{L"Wide", 900}, {L"Close", 800}},
       {L"Close", 9}},
      {"nothing installed: the system's choice", {}, {L"", 13}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FaceChoice got = ChooseStandIn(faces, 13, 375, [&](const std::wstring& face, int height) {
      return WidthOf(c.installed, face, height);
    });
    EXPECT_EQ(got.face, c.expected.face);
    EXPECT_EQ(got.height, c.expected.height);
  }
}

// The suite's prefix has Wine's own fonts, as Windows has its own.
TEST(FontCache, KeepsTheDesignFaceWhereItIsInstalled) {
  FontCache fonts;
  for (platform::Font font : {platform::Font{83, false}, platform::Font{83, true}, platform::Font{98, true}}) {
    SCOPED_TRACE(font.tenthsOfPoint * 10 + font.bold);
    EXPECT_EQ(fonts.FaceOf(font), kDesignFace);
    EXPECT_EQ(fonts.Get(font), fonts.Get(font)) << "one font per size and weight";
  }
}

}  // namespace
}  // namespace veltrane::win32
