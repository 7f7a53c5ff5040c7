#pragma once
#include <windows.h>

#include <string>

#include "launched.h"
#include "veltrane_version.h"

namespace e2e {

struct Settings {
  std::wstring program;  // veltrane.exe
  std::wstring outDir;   // screenshots, ending in "\"
};

constexpr const wchar_t* kMainCaption = L"" VELTRANE_CAPTION;

// One run of veltrane.exe: started by the harness, ended by the user's close
// or, when a case leaves it running, terminated when the session goes.
class Session {
 public:
  explicit Session(const Settings& settings) : settings_(settings) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Starts the program and waits for its main window to show.
  bool Start(std::string& why);
  bool Running() const { return program_.Running(); }
  DWORD Pid() const { return program_.Pid(); }
  HWND Main() const { return main_; }
  HWND Control(int id) const;

  HWND MessageWindow() const;  // the window holding Label_Msg, shown or not
  HWND DetailsWindow() const;  // the window holding List_Details, shown or not
  bool Click(int id, std::string& why) const;
  bool ClickIn(HWND top, int id, std::string& why) const;

  // Closes the main window as its close box does and waits for the process to end.
  bool Close(std::string& why);
  // Ends the process as a crash or the task manager would (TerminateProcess)
  // and waits for it to be gone.
  bool Kill(std::string& why) { return program_.Kill(why); }
  void Screenshot(HWND window, const wchar_t* name) const;

 private:
  const Settings& settings_;
  Launched program_;
  HWND main_ = nullptr;
};

// An unowned top-level window titled like an open browser window.
class BrowserWindow {
 public:
  explicit BrowserWindow(const wchar_t* title = L"Blank Page - Microsoft Internet Explorer", bool visible = true);
  ~BrowserWindow();
  BrowserWindow(const BrowserWindow&) = delete;
  BrowserWindow& operator=(const BrowserWindow&) = delete;
  bool Shown() const { return window_ && IsWindowVisible(window_); }

 private:
  HWND window_ = nullptr;
};

}  // namespace e2e
