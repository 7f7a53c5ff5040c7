#include "app/form_main_design.h"

#include "core/control_ids.h"
#include "app/web_link.h"

namespace veltrane {

namespace {

using platform::Align;
using platform::Art;
using platform::ControlKind;
using platform::Cursor;

constexpr platform::Colour kBlack = 0x000000, kWhite = 0xFFFFFF, kPaleYellow = 0xFFFF80,
                           kYellow = 0xFFFF00, kNone = platform::kTransparent;
constexpr platform::Font kBold825{.tenthsOfPoint = 83, .bold = true};
constexpr platform::Font kBold975{.tenthsOfPoint = 98, .bold = true};
constexpr std::string_view kDetailsTip = "Click for details";

constexpr platform::ControlDesign Label(int id, int left, int top, int width, int height,
                                        std::string_view text, platform::Font font,
                                        platform::Colour fore, platform::Colour back, Align align,
                                        int border = 0, Cursor cursor = Cursor::Arrow,
                                        std::string_view tooltip = {}) {
  return {.id = id, .kind = ControlKind::Label, .left = left, .top = top, .width = width,
          .height = height, .text = text, .font = font, .fore = fore, .back = back, .align = align,
          .border = border, .cursor = cursor, .tooltip = tooltip};
}

constexpr platform::ControlDesign Picture(int id, int left, int top, int width, int height, Art art,
                                          Cursor cursor = Cursor::Arrow, int border = 0) {
  return {.id = id, .kind = ControlKind::Picture, .left = left, .top = top, .width = width,
          .height = height, .border = border, .cursor = cursor, .picture = art};
}

constexpr platform::ControlDesign Line(int id, int x1, int y1, int x2, int y2) {
  return {.id = id, .kind = ControlKind::Line, .left = x1, .top = y1, .width = x2, .height = y2,
          .border = 1};
}

// Rows follow the window's focus order. Labels never take the focus, so the
// order that matters is Check_Wipe before Combo_Pass: Tab moves between them.
// Pictures and lines come last; they have no place in the focus order.
constexpr platform::ControlDesign kControls[] = {
    Label(ids::Status_Cookies, 2160, 360, 3855, 255, "", kBold975, kBlack, kPaleYellow, Align::Left,
          1, Cursor::Hand, kDetailsTip),
    Label(ids::Label_Cookies, 240, 360, 1815, 255, "Cookies ", kBold975, kBlack, kWhite,
          Align::Right, 1),
    Label(ids::Status_Cache, 2160, 1800, 3855, 255, "", kBold975, kBlack, kPaleYellow, Align::Left, 1),
    Label(ids::Label_Cache, 240, 1800, 1815, 255, "Cache ", kBold975, kBlack, kWhite, Align::Right, 1),
    Label(ids::Status_History, 2160, 1080, 3855, 255, "", kBold975, kBlack, kPaleYellow, Align::Left,
          1, Cursor::Hand, kDetailsTip),
    Label(ids::Label_History, 240, 1080, 1815, 255, "History ", kBold975, kBlack, kWhite,
          Align::Right, 1),
    Label(ids::Label_C, 6360, 2760, 2895, 255, "(C) 2026 Veltrane developers", kBold825, kWhite,
          kNone, Align::Centre),
    Label(ids::Label_ARR, 6360, 3000, 2895, 255, "All Rights Reserved", kBold825, kWhite, kNone,
          Align::Centre),
    Label(ids::Label_Site, 6360, 3360, 2895, 255, "Visit our website:", kBold825, kWhite, kNone,
          Align::Centre),
    Label(ids::Label_URL, 6360, 3600, 2895, 255, kHomeHost, kBold825, kYellow, kNone, Align::Centre,
          0, Cursor::Hand),
    {.id = ids::Check_Wipe, .kind = ControlKind::CheckBox, .left = 6480, .top = 4320, .width = 195,
     .height = 195},
    Label(ids::Label_Wipe, 6750, 4320, 2175, 255, "Wipe data before delete", kBold825, kWhite, kNone,
          Align::Left, 0, Cursor::Hand),
    Label(ids::Label2, 6480, 4080, 2655, 255, "SETTINGS:", kBold825, kYellow, kNone, Align::Centre),
    Label(ids::Label_For, 6360, 1800, 2895, 255, "For:", kBold825, kYellow, kNone, Align::Centre),
    {.id = ids::Combo_Pass, .kind = ControlKind::ComboBox, .left = 6840, .top = 4560, .width = 1935,
     .height = 315, .text = "Combo1"},
    Label(ids::Label_Cookies_Details, 2280, 615, 1455, 240, "Click for details", kBold825, kWhite,
          kNone, Align::Left, 0, Cursor::Hand),
    Label(ids::Label_History_Details, 2280, 1335, 1455, 240, "Click for details", kBold825, kWhite,
          kNone, Align::Left, 0, Cursor::Hand),

    Picture(ids::Image_Scan, 480, 2280, 1455, 735, Art::ScanPicture, Cursor::Hand),
    Picture(ids::Command_Scan, 480, 3000, 1275, 390, Art::ScanButton, Cursor::Hand),
    Picture(ids::Image_Remove, 3480, 2160, 1125, 945, Art::RemovePicture, Cursor::Hand),
    Picture(ids::Command_Remove, 3000, 2970, 1950, 420, Art::RemoveButton, Cursor::Hand),
    // The name runs across the logo and must stay readable: where pictures
    // overlap, the earlier row lies on top.
    Picture(ids::Image_Veltrane, 6360, 840, 2880, 465, Art::ProductName),
    Picture(ids::Image_Logo, 6705, 165, 2145, 1725, Art::Logo),
    Picture(ids::Image_IE, 6660, 2040, 2280, 570, Art::BrowserBanner, Cursor::Arrow, 1),

    Line(ids::Line1, 6240, 120, 6240, 4800),
    Line(ids::Line2, 6345, 3285, 9225, 3285),
    Line(ids::Line3, 120, 3480, 6120, 3480),
    Line(ids::Line4, 6360, 3960, 9240, 3960),
};

constexpr platform::FormDesign kDesign = {
    .caption = "Veltrane",
    .clientWidth = 9330,
    .clientHeight = 5040,
    .background = Art::Background,
    .icon = true,
    .closeHides = false,
    .controls = kControls,
};

}  // namespace

const platform::FormDesign& MainDesign() { return kDesign; }

}  // namespace veltrane
