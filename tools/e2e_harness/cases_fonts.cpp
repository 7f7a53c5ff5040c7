// The program on a prefix made by plain wineboot, without the fonts the
// tools copy in: every caption must still show whole. A caption cut by its
// box leaves its text colour in the box's outermost column on that side.
#include <windows.h>

#include <cstdlib>

#include "cases.h"
#include "core/control_ids.h"
#include "probe.h"
#include "screenshot.h"
#include "wait.h"

namespace e2e {

namespace ids = veltrane::ids;

namespace {

enum class Side { Left, Right, Both };

struct Caption {
  int id;
  const char* name;
  COLORREF text;
  Side open;    // where a text too wide for the box is cut
  int border;   // pixels of border inside the box
};

constexpr COLORREF kWhite = RGB(255, 255, 255), kYellow = RGB(255, 255, 0), kBlack = RGB(0, 0, 0);

constexpr Caption kCaptions[] = {
    {ids::Label_Cookies, "Label_Cookies", kBlack, Side::Left, 1},
    {ids::Label_History, "Label_History", kBlack, Side::Left, 1},
    {ids::Label_Cache, "Label_Cache", kBlack, Side::Left, 1},
    {ids::Label_Cookies_Details, "Label_Cookies_Details", kWhite, Side::Right, 0},
    {ids::Label_History_Details, "Label_History_Details", kWhite, Side::Right, 0},
    {ids::Label_For, "Label_For", kYellow, Side::Both, 0},
    {ids::Label_C, "Label_C", kWhite, Side::Both, 0},
    {ids::Label_ARR, "Label_ARR", kWhite, Side::Both, 0},
    {ids::Label_Site, "Label_Site", kWhite, Side::Both, 0},
    {ids::Label_URL, "Label_URL", kYellow, Side::Both, 0},
    {ids::Label2, "Label2", kYellow, Side::Both, 0},
    {ids::Label_Wipe, "Label_Wipe", kWhite, Side::Right, 0},
};

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
             std::abs(GetBValue(a) - GetBValue(b)) < 96;
}

// Rows of the column `x` (client coordinates) within `r` that show the text colour.
int TextPixelsInColumn(const ScreenPicture& picture, const RECT& r, int x, COLORREF text) {
  int found = 0;
  for (int y = r.top; y < r.bottom && y < picture.height; ++y)
    if (x >= 0 && x < picture.width && Near(picture.At(x, y), text)) ++found;
  return found;
}

void ExpectCaptionsWhole(Case& c, const Session& s) {
  const ScreenPicture picture = CaptureClient(s.Main());
  if (!c.Check(!picture.bits.empty(), "cannot read the main window from the screen")) return;
  for (const Caption& caption : kCaptions) {
    const HWND control = s.Control(caption.id);
    if (!c.Check(control != nullptr, std::string(caption.name) + " is no child window")) continue;
    RECT r = RectInClient(control, s.Main());
    InflateRect(&r, -caption.border, -caption.border);
    const int left = r.left, right = r.right - 1;
    if (caption.open != Side::Right)
      c.Check(TextPixelsInColumn(picture, r, left, caption.text) == 0,
              std::string(caption.name) + ": its text reaches the box's left edge, cut there");
    if (caption.open != Side::Left)
      c.Check(TextPixelsInColumn(picture, r, right, caption.text) == 0,
              std::string(caption.name) + ": its text reaches the box's right edge, cut there");
  }
}

}  // namespace

void RunStockFontCases(Report& report, const Settings& settings) {
  {
    Session s(settings);
    std::string why;
    const bool started = s.Start(why);
    if (started) s.Screenshot(s.Main(), L"main-at-start-stock-fonts");
    report.Run("stock_prefix_main_window_captions_show_whole", [&](Case& c) {
      if (c.Check(started, why)) ExpectCaptionsWhole(c, s);
    });
  }
  BrowserWindow browser;
  Session s(settings);
  std::string why;
  const bool started = s.Start(why);
  report.Run("stock_prefix_message_window_shows", [&](Case& c) {
    if (!c.Check(started, why)) return;
    HWND msg = nullptr;
    c.Check(WaitFor([&] { return IsShown(msg = s.MessageWindow()); }, kEffectTimeoutMs), "no message window shown");
    if (msg) s.Screenshot(msg, L"message-window-warning-stock-fonts");
  });
}

}  // namespace e2e
