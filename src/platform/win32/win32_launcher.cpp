#include "platform/win32/win32_launcher.h"

#include <objbase.h>
#include <shellapi.h>

#include "platform/win32/system_library.h"
#include "platform/win32/utf.h"

namespace veltrane::win32 {

namespace {

template <typename Function>
Function Entry(const ModuleHandle& module, const char* name) {
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module.Get(), name)))
                : nullptr;
}

}  // namespace

Win32Launcher::~Win32Launcher() {
  if (uninitialize_) uninitialize_();
}

// ShellExecuteExW's documentation asks for COM on the calling thread: the
// handler of an address can be a shell extension, which without it may
// silently do nothing. A thread that already has COM in another mode keeps
// it (RPC_E_CHANGED_MODE): that one is not ours to end.
void Win32Launcher::Load() {
  loaded_ = true;
  ole_ = LoadSystemLibrary(L"ole32.dll");
  using InitializeFunction = HRESULT(WINAPI*)(void*, DWORD);
  const auto initialize = Entry<InitializeFunction>(ole_, "CoInitializeEx");
  const auto uninitialize = Entry<UninitializeFunction>(ole_, "CoUninitialize");
  if (initialize && uninitialize &&
      SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)))
    uninitialize_ = uninitialize;
  shell_ = LoadSystemLibrary(L"shell32.dll");
  shellExecute_ = Entry<ShellExecuteFunction>(shell_, "ShellExecuteExW");
}

// Failure: false, and no error box: a link that cannot open shows nothing.
bool Win32Launcher::Open(const std::string& address, int windowState) {
  if (!loaded_) Load();
  if (!shellExecute_) return false;
  const std::wstring wide = Widen(address);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = wide.c_str();
  info.nShow = windowState;
  return shellExecute_(&info) != FALSE;
}

}  // namespace veltrane::win32
