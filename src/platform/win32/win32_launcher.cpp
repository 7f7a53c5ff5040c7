#include "platform/win32/win32_launcher.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/utf.h"

namespace veltrane::win32 {

namespace {

const std::string kStartPrefix = "start ";

using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, const wchar_t*, const wchar_t*, const wchar_t*,
                                                  const wchar_t*, INT);

// The shell is loaded on the first address opened, not at start-up, where it
// costs ~4 ms under Wine; it then stays for the process's life.
ShellExecuteFunction ShellExecuteEntry() {
  static const ModuleHandle shell(LoadLibraryW(L"shell32.dll"));
  static const auto entry =
      shell ? reinterpret_cast<ShellExecuteFunction>(
                       reinterpret_cast<void*>(GetProcAddress(shell.Get(), "ShellExecuteW"))) : nullptr;
  return entry;
}

// Failure: false (ShellExecuteW reports it as a value of 32 or below).
bool OpenAddress(const std::wstring& address, int windowState) {
  const ShellExecuteFunction shellExecute = ShellExecuteEntry();
  if (!shellExecute) return false;
  const HINSTANCE result = shellExecute(nullptr, L"open", address.c_str(), nullptr, nullptr, windowState);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

// Failure: false, nothing started. The new program's handles are let go at once.
bool StartProgram(std::wstring commandLine, int windowState) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = WORD(windowState);
  PROCESS_INFORMATION process{};
  // CreateProcessW may write into the command line, so it gets a copy it owns.
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  FileHandle(process.hThread).Reset();
  FileHandle(process.hProcess).Reset();
  return true;
}

}  // namespace

bool Win32Launcher::Start(const std::string& commandLine, int windowState) {
  if (commandLine.rfind(kStartPrefix, 0) == 0)
    return OpenAddress(Widen(commandLine.substr(kStartPrefix.size())), windowState);
  return StartProgram(Widen(commandLine), windowState);
}

}  // namespace veltrane::win32
