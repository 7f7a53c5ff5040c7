// The program on a prefix made by plain wineboot, without the fonts the
// tools copy in, or on a screen above 96 dpi: every caption must still show
// whole. A caption cut by its
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
  COLORREF text;
  Side open;    // where a text too wide for the box is cut
  int border;   // pixels of border inside the box
};

constexpr COLORREF kWhite = RGB(255, 255, 255), kYellow = RGB(255, 255, 0), kBlack = RGB(0, 0, 0);

constexpr Caption kCaptions[] = {
    {ids::Label_Cookies, kBlack, Side::Left, 1},
    {ids::Label_History, kBlack, Side::Left, 1},
    {ids::Label_Cache, kBlack, Side::Left, 1},
    {ids::Label_Cookies_Details, kWhite, Side::Right, 0},
    {ids::Label_History_Details, kWhite, Side::Right, 0},
    {ids::Label_For, kYellow, Side::Both, 0},
    {ids::Label_C, kWhite, Side::Both, 0},
    {ids::Label_ARR, kWhite, Side::Both, 0},
    {ids::Label_Site, kWhite, Side::Both, 0},
    {ids::Label_URL, kYellow, Side::Both, 0},
    {ids::Label2, kYellow, Side::Both, 0},
    {ids::Label_Wipe, kWhite, Side::Right, 0},
    {ids::Status_Cookies, kBlack, Side::Right, 1},
    {ids::Status_History, kBlack, Side::Right, 1},
    {ids::Status_Cache, kBlack, Side::Right, 1},
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

void ExpectCaptionsWhole(Case& c, const Session& s, const std::string& when) {
  const ScreenPicture picture = CaptureClient(s.Main());
  if (!c.Check(!picture.bits.empty(), when + ": cannot read the main window from the screen")) return;
  for (const Caption& caption : kCaptions) {
    const HWND control = s.Control(caption.id);
    if (!c.Check(control != nullptr, std::string(ids::NameOf(caption.id)) + " is no child window")) continue;
    RECT r = RectInClient(control, s.Main());
    InflateRect(&r, -caption.border, -caption.border);
    const int left = r.left, right = r.right - 1;
    if (caption.open != Side::Right)
      c.Check(TextPixelsInColumn(picture, r, left, caption.text) == 0,
              when + ": " + ids::NameOf(caption.id) + ": its text reaches the box's left edge, cut there");
    if (caption.open != Side::Left)
      c.Check(TextPixelsInColumn(picture, r, right, caption.text) == 0,
              when + ": " + ids::NameOf(caption.id) + ": its text reaches the box's right edge, cut there");
  }
}

// What the screenshots and cases of this run are named after: the stock
// prefix at 96 dpi, else the screen's DPI.
struct Run {
  std::string cases;
  std::wstring shots;
};

Run ThisRun() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (dpi == 96) return {"stock_prefix", L"-stock-fonts"};
  return {"dpi" + std::to_string(dpi), L"-" + std::to_wstring(dpi) + L"dpi"};
}

std::wstring Shot(const wchar_t* name, const Run& run) { return name + run.shots; }

bool RowsSettled(const Session& s, const wchar_t* const* lastTexts) {
  const std::wstring cache = Text(s.Control(ids::Status_Cache));
  for (; *lastTexts; ++lastTexts)
    if (cache.rfind(*lastTexts, 0) == 0) return true;
  return false;
}

// The widest status texts come from a scan and a removal of the seeded profile.
void ScanAndRemove(Case& c, const Session& s, const Run& run) {
  std::string why;
  if (!Clicked(c, s, ids::Command_Scan, "Command_Scan")) return;
  const wchar_t* scanEnds[] = {L" Found:", L" No cache", L"ERROR", nullptr};
  if (!c.Check(WaitFor([&] { return RowsSettled(s, scanEnds); }, 30000), "the scan did not end within 30 s")) return;
  ExpectCaptionsWhole(c, s, "after the scan");
  s.Screenshot(s.Main(), Shot(L"after-scan", run).c_str());

  if (Clicked(c, s, ids::Status_Cookies, "Status_Cookies")) {
    HWND details = nullptr;
    if (c.Check(WaitFor([&] { return IsShown(details = s.DetailsWindow()); }, kEffectTimeoutMs), "no details window")) {
      // The list fills while events run: a heading, a blank line, the domains.
      WaitFor([&] { return ListLines(FindControl(details, ids::List_Details)).size() > 2; }, kEffectTimeoutMs);
      s.Screenshot(details, Shot(L"details-cookies", run).c_str());
      s.ClickIn(details, ids::Details_Command_Close, why);
      WaitFor([&] { return !IsWindowVisible(details); }, kEffectTimeoutMs);
    }
  }

  if (!Clicked(c, s, ids::Command_Remove, "Command_Remove")) return;
  ExpectMessageBox(c, s, L"Really delete all information?", L"Please confirm", true, IDOK);
  const wchar_t* removalEnds[] = {L" Cache files erased", nullptr};
  HWND msg = nullptr;
  if (!c.Check(WaitFor([&] { return RowsSettled(s, removalEnds) && IsShown(msg = s.MessageWindow()); }, 30000),
               "the removal did not end with its summary within 30 s"))
    return;
  s.Screenshot(msg, Shot(L"message-window-summary", run).c_str());
  // The message window lies over the rows: it goes before they are read.
  if (Clicked(c, s, ids::Msg_Command_Close, "Msg_Command_Close", msg))
    WaitFor([&] { return !IsWindowVisible(msg); }, kEffectTimeoutMs);
  ExpectCaptionsWhole(c, s, "after the removal");
  s.Screenshot(s.Main(), Shot(L"after-removal", run).c_str());
}

}  // namespace

void RunStockFontCases(Report& report, const Settings& settings) {
  const Run run = ThisRun();
  {
    Session s(settings);
    std::string why;
    const bool started = s.Start(why);
    if (started) s.Screenshot(s.Main(), Shot(L"main-at-start", run).c_str());
    report.Run(run.cases + "_main_window_captions_show_whole", [&](Case& c) {
      if (c.Check(started, why)) ExpectCaptionsWhole(c, s, "at start");
    });
    report.Run(run.cases + "_status_texts_show_whole", [&](Case& c) {
      if (c.Check(started, why)) ScanAndRemove(c, s, run);
    });
  }
  BrowserWindow browser;
  Session s(settings);
  std::string why;
  const bool started = s.Start(why);
  report.Run(run.cases + "_message_window_shows", [&](Case& c) {
    if (!c.Check(started, why)) return;
    HWND msg = nullptr;
    c.Check(WaitFor([&] { return IsShown(msg = s.MessageWindow()); }, kEffectTimeoutMs), "no message window shown");
    if (msg) s.Screenshot(msg, Shot(L"message-window-warning", run).c_str());
  });
}

}  // namespace e2e
