// Three windows in the shapes the program uses, on the real artwork, for
// looking at the runtime under Xvfb (tools: import -window root). Ends
// itself after a few seconds. Not part of the program.
#include "platform/win32/win32_runtime.h"

#include <memory>

namespace {

using namespace veltrane::platform;

constexpr Colour kWhite = 0xFFFFFF, kYellow = 0xFFFF00, kPaleYellow = 0xFFFF80, kGrey = 0xE0E0E0;
constexpr Font kBold8 = {83, true}, kBold9 = {98, true}, kRegular9 = {98, false};

constexpr ControlDesign kMain[] = {
    {.id = 1, .kind = ControlKind::Label, .left = 240, .top = 360, .width = 1815, .height = 255,
     .text = "Cookies ", .font = kBold9, .fore = 0, .back = kWhite, .align = Align::Right, .border = 1},
    {.id = 2, .kind = ControlKind::Label, .left = 2160, .top = 360, .width = 3855, .height = 255,
     .text = "Found 12 cookie files", .font = kBold9, .fore = 0, .back = kPaleYellow, .border = 1,
     .cursor = Cursor::Hand, .tooltip = "Click for details"},
    {.id = 3, .kind = ControlKind::Label, .left = 2280, .top = 615, .width = 1455, .height = 240,
     .text = "Click for details", .font = kBold8, .fore = kWhite, .back = kTransparent, .cursor = Cursor::Hand},
    {.id = 4, .kind = ControlKind::Label, .left = 240, .top = 1080, .width = 1815, .height = 255,
     .text = "History ", .font = kBold9, .fore = 0, .back = kWhite, .align = Align::Right, .border = 1},
    {.id = 5, .kind = ControlKind::Label, .left = 2160, .top = 1080, .width = 3855, .height = 255,
     .font = kBold9, .fore = 0, .back = kPaleYellow, .border = 1},
    {.id = 6, .kind = ControlKind::Picture, .left = 480, .top = 2280, .width = 1455, .height = 735,
     .cursor = Cursor::Hand, .picture = Art::ScanPicture},
    {.id = 7, .kind = ControlKind::Picture, .left = 480, .top = 3000, .width = 1275, .height = 390,
     .cursor = Cursor::Hand, .picture = Art::ScanButton},
    {.id = 8, .kind = ControlKind::Picture, .left = 3480, .top = 2160, .width = 1125, .height = 945,
     .cursor = Cursor::Hand, .picture = Art::RemovePicture},
    {.id = 9, .kind = ControlKind::Picture, .left = 3000, .top = 2970, .width = 1950, .height = 420,
     .cursor = Cursor::Hand, .picture = Art::RemoveButton},
    {.id = 10, .kind = ControlKind::Picture, .left = 6705, .top = 165, .width = 2145, .height = 1725,
     .picture = Art::Logo},
    {.id = 11, .kind = ControlKind::Picture, .left = 6360, .top = 840, .width = 2880, .height = 465,
     .picture = Art::ProductName},
    {.id = 12, .kind = ControlKind::Label, .left = 6360, .top = 1800, .width = 2895, .height = 255,
     .text = "For:", .font = kBold8, .fore = kYellow, .back = kTransparent, .align = Align::Centre},
    {.id = 13, .kind = ControlKind::Picture, .left = 6660, .top = 2040, .width = 2280, .height = 570,
     .border = 1, .picture = Art::BrowserBanner},
    {.id = 14, .kind = ControlKind::Label, .left = 6360, .top = 3600, .width = 2895, .height = 255,
     .text = "www.example.com", .font = kBold8, .fore = kYellow, .back = kTransparent,
     .align = Align::Centre, .cursor = Cursor::Hand},
    {.id = 15, .kind = ControlKind::Line, .left = 6240, .top = 120, .width = 6240, .height = 4800},
    {.id = 16, .kind = ControlKind::Line, .left = 120, .top = 3480, .width = 6120, .height = 3480},
    {.id = 17, .kind = ControlKind::Label, .left = 6480, .top = 4080, .width = 2655, .height = 255,
     .text = "SETTINGS:", .font = kBold8, .fore = kYellow, .back = kTransparent, .align = Align::Centre},
    {.id = 18, .kind = ControlKind::CheckBox, .left = 6480, .top = 4320, .width = 195, .height = 195},
    {.id = 19, .kind = ControlKind::Label, .left = 6750, .top = 4320, .width = 2175, .height = 255,
     .text = "Wipe data before delete", .font = kBold8, .fore = kWhite, .back = kTransparent,
     .cursor = Cursor::Hand},
    {.id = 20, .kind = ControlKind::ComboBox, .left = 6840, .top = 4560, .width = 1935, .height = 315},
    {.id = 21, .kind = ControlKind::Timer, .interval = 6000},
};

constexpr ControlDesign kMsg[] = {
    {.id = 1, .kind = ControlKind::Shape, .left = 0, .top = 0, .width = 4695, .height = 3240, .border = 3},
    {.id = 2, .kind = ControlKind::Frame, .left = 120, .top = 120, .width = 4455, .height = 2535,
     .text = "  -=-  Veltrane  -=-  ", .font = kRegular9, .back = kGrey},
    {.id = 3, .kind = ControlKind::Label, .left = 120, .top = 360, .width = 4215, .height = 2055,
     .font = kBold9, .back = kGrey, .align = Align::Centre, .container = 2, .wordWrap = true},
    {.id = 4, .kind = ControlKind::Button, .left = 1200, .top = 2760, .width = 2295, .height = 375, .text = "OK!"},
};

constexpr ControlDesign kDetails[] = {
    {.id = 1, .kind = ControlKind::Shape, .left = 60, .top = 60, .width = 4815, .height = 3645,
     .fore = kWhite, .border = 2},
    {.id = 2, .kind = ControlKind::ListBox, .left = 120, .top = 120, .width = 4695, .height = 3180},
    {.id = 3, .kind = ControlKind::Button, .left = 1560, .top = 3360, .width = 1815, .height = 255,
     .text = "CLOSE", .cursor = Cursor::Hand},
};

struct Ender : FormEvents {
  Runtime* runtime = nullptr;
  void OnTimer(int) override { runtime->End(); }
};

void MoveTo(Form& form, int x, int y) {
  SetWindowPos(reinterpret_cast<HWND>(form.Handle()), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  veltrane::win32::Win32Runtime runtime(instance);
  Ender ender;
  ender.runtime = &runtime;
  FormEvents quiet;
  const auto version = runtime.ProgramVersion();
  auto main = runtime.CreateForm({.caption = "Veltrane", .clientWidth = 9330, .clientHeight = 5040,
                                  .background = Art::Background, .icon = true, .closeHides = false,
                                  .controls = kMain},
                                 ender);
  main->SetCaption("Veltrane v" + std::to_string(version.major) + "." + std::to_string(version.minor) +
                   " (build " + std::to_string(version.revision) + ")");
  main->AddItem(20, "1 Pass    (normal)");
  main->AddItem(20, "3 Passes (secure)");
  main->SetListIndex(20, 0);
  main->SetEnabled(20, false);
  main->SetText(5, "Scanning history... 1234");
  main->Show();

  auto msg = runtime.CreateForm({.caption = "Form1", .clientWidth = 4695, .clientHeight = 3240,
                                 .back = kGrey, .controls = kMsg},
                                quiet);
  msg->SetText(3, "\r\nPlease close Microsoft Internet\r\nExplorer before using this program.\r\n\r\n"
                  "Some files could not be removed correctly if MSIE is open!");
  msg->Show();
  MoveTo(*msg, 20, 20);

  auto details = runtime.CreateForm({.caption = "Veltrane - Details", .clientWidth = 4920,
                                     .clientHeight = 3750, .background = Art::Background, .controls = kDetails},
                                    quiet);
  details->Show();
  MoveTo(*details, 20, 600);
  for (const char* line : {"Domains that have saved a cookie on your HD:", "", "example.com/", "news.example.org/"})
    details->AddItem(2, line);
  return runtime.Run();
}
