#include "session.h"

#include "core/control_ids.h"
#include "input.h"
#include "probe.h"
#include "screenshot.h"
#include "wait.h"

namespace e2e {

namespace ids = veltrane::ids;

namespace {
constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kEndTimeoutMs = 5000;

std::string ErrorText(DWORD error) { return "error " + std::to_string(error); }
}  // namespace

Session::~Session() {
  if (process_.hProcess) {
    if (Running()) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, kEndTimeoutMs);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
}

bool Session::Start(std::string& why) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + settings_.program + L"\"";
  if (!CreateProcessW(settings_.program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process_)) {
    why = "cannot start " + Utf8(settings_.program) + ": " + ErrorText(GetLastError());
    return false;
  }
  const bool shown = WaitFor(
      [&] {
        main_ = FindTopWindow(Pid(), [](HWND w) { return IsWindowVisible(w) && Text(w) == kMainCaption; });
        return main_ != nullptr || !Running();
      },
      kStartTimeoutMs);
  if (main_) return true;
  why = !Running() ? "the program ended before showing its main window"
        : shown    ? "no main window"
                   : "no visible window titled " + Quote(kMainCaption) + " within 20 s";
  return false;
}

bool Session::Running() const {
  return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
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
  if (!WaitFor([&] { return !Running(); }, kEndTimeoutMs)) {
    why = "the process still runs 5 s after the main window was closed";
    return false;
  }
  return true;
}

bool Session::Kill(std::string& why) {
  if (!Running()) {
    why = "the program had already ended";
    return false;
  }
  if (!TerminateProcess(process_.hProcess, 1)) {
    why = "TerminateProcess failed: " + ErrorText(GetLastError());
    return false;
  }
  if (WaitForSingleObject(process_.hProcess, kEndTimeoutMs) != WAIT_OBJECT_0) {
    why = "the process still runs 5 s after it was killed";
    return false;
  }
  return true;
}

void Session::Screenshot(HWND window, const wchar_t* name) const {
  PumpFor(300);  // let the program paint what it was just told
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
  PumpFor(100);
}

BrowserWindow::~BrowserWindow() {
  if (window_) DestroyWindow(window_);
  PumpFor(50);
}

}  // namespace e2e
