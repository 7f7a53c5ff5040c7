#include "platform/win32/link_choice.h"

#include <windows.h>

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/nt_file.h"

namespace veltrane::win32 {

namespace {

bool Exports(HMODULE module, const char* name) { return module && GetProcAddress(module, name) != nullptr; }

bool WindowsFolderHasDrivePath() {
  wchar_t folder[MAX_PATH];
  const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  const FileHandle opened = OpenFolderByPath(std::wstring(L"\\\\?\\") + folder);
  return opened && !HeldPath(opened.Get()).empty();
}

}  // namespace

WineSigns ReadWineSigns() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  WineSigns signs;
  signs.versionExport = Exports(ntdll, "wine_get_version");
  signs.otherExports = Exports(ntdll, "wine_server_call") || Exports(ntdll, "__wine_unix_call") ||
                       Exports(ntdll, "wine_get_host_version");
  HKEY key = nullptr;
  signs.registryKey = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Wine", 0, KEY_READ, &key) == ERROR_SUCCESS;
  KeyHandle owned(key);
  signs.heldPaths = WindowsFolderHasDrivePath();
  return signs;
}

LinkCheck ChooseLinkCheck(const WineSigns& signs) {
  return signs.versionExport || signs.otherExports || signs.registryKey || signs.heldPaths ? LinkCheck::FinalPath
                                                                                            : LinkCheck::Handle;
}

LinkCheck DetectLinkCheck() {
  static const LinkCheck check = ChooseLinkCheck(ReadWineSigns());
  return check;
}

}  // namespace veltrane::win32
