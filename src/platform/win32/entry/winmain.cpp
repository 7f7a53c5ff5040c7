// The program's entry: the real platform services, then the program itself.
#include "platform/win32/win32_runtime.h"

#include <exception>

#include "app/program.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_launcher.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_registry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using namespace veltrane;
  win32::KeepDllSearchInSystemFolder();
  try {
    win32::Win32Registry registry;
    win32::Win32FileSystem files;
    win32::Win32Desktop desktop;
    win32::Win32Launcher launcher;
    win32::Win32Runtime runtime(instance);
    platform::Services services{registry, files, desktop, launcher, runtime};
    return RunProgram(services);
  } catch (const std::exception& e) {
    // Only start-up can get here (a window that cannot be created): handlers
    // stop at their window procedure.
    OutputDebugStringA(e.what());
    return 1;
  }
}
