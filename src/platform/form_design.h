#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace veltrane::platform {

// A window's fixed design as data: the runtime builds the window from it.
// Positions and sizes are twips (15 to the pixel) relative to the client area
// of the control's container.

using Colour = std::uint32_t;             // 0xRRGGBB
constexpr Colour kTransparent = 0xFF000000u;  // no back colour: the form's picture shows
constexpr Colour kDefaultColour = 0xFE000000u;  // the platform's own colour

enum class ControlKind { Label, Picture, Shape, Line, Button, CheckBox, ComboBox, ListBox, Frame, Timer };
enum class Align { Left, Centre, Right };
enum class Cursor { Arrow, Hand };

// Artwork built into the program's resources.
enum class Art {
  None,
  Background,     // 640 x 480, shared by the main and the details window
  ScanPicture,    // 97 x 49
  ScanButton,     // 85 x 26
  RemovePicture,  // 75 x 63
  RemoveButton,   // 130 x 28
  Logo,           // 143 x 115
  ProductName,    // 192 x 31
  BrowserBanner,  // 150 x 36
};

struct Font {
  int tenthsOfPoint = 83;  // 83 = 8.25 pt, 98 = 9.75 pt (MS Sans Serif)
  bool bold = false;
};

struct ControlDesign {
  int id = 0;
  ControlKind kind = ControlKind::Label;
  // Line: (left, top) to (width, height) are its two end points x1, y1, x2, y2.
  int left = 0, top = 0, width = 0, height = 0;
  std::string_view text = {};
  Font font = {};
  Colour fore = kDefaultColour;
  Colour back = kDefaultColour;
  Align align = Align::Left;
  int border = 0;          // pixels: label/picture single flat border, shape/line width
  Cursor cursor = Cursor::Arrow;
  std::string_view tooltip = {};
  Art picture = Art::None;
  int container = 0;       // 0 = the form; else the id of a frame
  int interval = 0;        // timer, milliseconds
  bool wordWrap = false;   // label: wrap at word boundaries, CR LF breaks lines
};

struct FormDesign {
  std::string_view caption;
  int clientWidth = 0, clientHeight = 0;  // twips
  Colour back = kDefaultColour;
  Art background = Art::None;
  bool icon = false;        // the program's icon; such a window can also be minimised
  bool closeHides = true;   // the close box hides the window (main window: raises OnClose)
  std::span<const ControlDesign> controls;
};

}  // namespace veltrane::platform
