#include "session.h"

#include "core/control_ids.h"
#include "input.h"
#include "probe.h"
#include "screenshot.h"
#include "wait.h"

namespace e2e {

namespace ids = veltrane::ids;

namespace {
constexpr DWORD kStartTimeoutMs = 60000;
constexpr DWORD kEndTimeoutMs = 20000;
}  // namespace

bool Session::Start(std::string& why) {
  if (!program_.Start(settings_.program, why)) return false;
  const bool shown = WaitFor(
      [&] {
        main_ = program_.VisibleWindow([](HWND w) { return Text(w) == kMainCaption; });
        return main_ != nullptr || !Running();
      },
      kStartTimeoutMs);
  // Shown is not yet ready: a click goes in once the program waits for input.
  if (main_ && WaitProgramIdle(main_, kStartTimeoutMs)) return true;
  why = !Running() ? "the program ended before it waited for input"
        : main_    ? "the main window shows, but the program does not wait for input within 60 s"
        : shown    ? "no main window"
                   : "no visible window titled " + Quote(kMainCaption) + " within 60 s";
  return false;
}

HWND Session::Control(int id) const { return FindControl(main_, id); }

HWND Session::MessageWindow() const {
  return FindTopWindow(Pid(), [](HWND w) { return FindControl(w, ids::Label_Msg) != nullptr; });
}

HWND Session::DetailsWindow() const {
  return FindTopWindow(Pid(), [](HWND w) { return FindControl(w, ids::List_Details) != nullptr; });
}

bool Session::Click(int id, std::string& why) const { return ClickIn(main_, id, why); }

bool Session::ClickIn(HWND top, int id, std::string& why) const {
  const HWND control = FindControl(top, id);
  if (!control) {
    why = "no control with id " + std::to_string(id);
    return false;
  }
  return ClickControl(control, why);
}

bool Session::Close(std::string& why) {
  if (!Running()) {
    why = "the program had already ended";
    return false;
  }
  // What the close box sends.
  PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  if (!program_.WaitEnded(kEndTimeoutMs)) {
    why = "the process still runs 20 s after the main window was closed";
    return false;
  }
  return true;
}

void Session::Screenshot(HWND window, const wchar_t* name) const {
  // WM_PAINT is sent, so whatever waited to be painted is painted when this
  // returns. Wine puts it on the screen only as the program goes back to wait
  // for input, just after it counts as idle, so the picture is kept once the
  // screen holds still.
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  WaitProgramIdle(window);
  SaveWindowBmp(window, settings_.outDir + name + L".bmp");
}

namespace {
constexpr const wchar_t* kBrowserClass = L"VeltraneE2eBrowser";
}

BrowserWindow::BrowserWindow(const wchar_t* title, bool visible) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kBrowserClass;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&windowClass);
  // Top-left and small, clear of the program's centred windows.
  window_ = CreateWindowExW(0, kBrowserClass, title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 0, 0, 240,
                            120, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  PumpOwnMessages();
}

BrowserWindow::~BrowserWindow() {
  if (window_) DestroyWindow(window_);
  PumpOwnMessages();
}

}  // namespace e2e
