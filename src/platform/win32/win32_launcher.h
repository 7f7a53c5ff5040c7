#pragma once
#include <windows.h>

#include "platform/launcher.h"
#include "platform/win32/handles.h"

namespace veltrane::win32 {

// Opens an address through the shell. The shell and COM are loaded on the
// first address, not at start-up, where they cost ~4 ms under Wine; COM
// stays initialised on the calling thread (the GUI thread) until the
// launcher goes, which must happen on that same thread.
class Win32Launcher : public platform::Launcher {
 public:
  Win32Launcher() = default;
  ~Win32Launcher() override;
  Win32Launcher(const Win32Launcher&) = delete;
  Win32Launcher& operator=(const Win32Launcher&) = delete;

  bool Open(const std::string& address, int windowState) override;

 private:
  using ShellExecuteFunction = BOOL(WINAPI*)(struct _SHELLEXECUTEINFOW*);
  using UninitializeFunction = void(WINAPI*)();
  void Load();

  bool loaded_ = false;
  ModuleHandle ole_;
  ModuleHandle shell_;
  ShellExecuteFunction shellExecute_ = nullptr;
  UninitializeFunction uninitialize_ = nullptr;  // set when this thread's COM is ours to end
};

}  // namespace veltrane::win32
